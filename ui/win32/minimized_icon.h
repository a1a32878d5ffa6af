#pragma once
// Paints the application icon centred in a minimized window's client area, at the
// system's icon size for the window's resolution.
#include "platform/win32/win32_api.h"

namespace win32ui {

struct IconPlacement {
    int x;
    int y;
};

// Centred with the system icon size, rounding as the dialog always has:
// (client size - icon size + 1) / 2 in integer division.
IconPlacement CentreIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

void PaintMinimizedIcon(HWND window, HICON icon, SIZE iconSize);

}  // namespace win32ui
