#pragma once
// The order of a sorted combo box, shared by insertion and exact search.
#include <string>

namespace qtui {

// Bytes compared with ASCII letters folded to one case; bytes of multibyte characters
// are compared as they are. Negative, zero or positive.
int CompareComboItems(const std::string& a, const std::string& b);

}  // namespace qtui
