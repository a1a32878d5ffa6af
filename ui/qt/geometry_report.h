#pragma once
// Where each control of the window is, for tools that drive the window from outside
// (the demo and the end-to-end test click through it with xdotool). Written only when
// MIREL_SETUP_GEOMETRY_FILE names a file; the product itself takes no arguments.
#include <QString>

namespace qtui {

class InstallerWindow;

inline constexpr const char* kGeometryFileVariable = "MIREL_SETUP_GEOMETRY_FILE";

// Lines: "window XID", "client WIDTH HEIGHT", then "ID X Y WIDTH HEIGHT" for each control
// with an id, in pixels relative to the window's client area. Written to a temporary
// file and renamed, so a reader never sees half of it.
bool WriteGeometryReport(InstallerWindow& window, const QString& path);

// When the variable is set, writes the report once the window is on the screen.
void ReportGeometryWhenShown(InstallerWindow& window);

}  // namespace qtui
