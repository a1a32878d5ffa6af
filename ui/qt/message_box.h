#pragma once
// A message box shown the way the core asks for it: MB_* flags in, ID* answer out.
#include <QString>

class QWidget;

namespace qtui {

// Shows a modal box over `parent` with the icon and buttons of `flags` (information or
// exclamation; OK, OK/Cancel or Yes/No) and returns plat::kIdOk, kIdCancel, kIdYes or kIdNo.
int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, unsigned flags);

}  // namespace qtui
