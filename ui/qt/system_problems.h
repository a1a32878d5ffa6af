#pragma once
// Tells the user, before the dialog, what of the system's own files could not be used
// (lines of the drives file, a damaged registry hive), so that a dialog that looks like
// a fresh system does not hide a damaged one.
#include <QString>
#include <string>
#include <vector>

namespace qtui {

// A modal warning listing `problems`, one a line; returns when the user closes it.
void ShowSystemProblems(const QString& caption, const std::vector<std::string>& problems);

}  // namespace qtui
