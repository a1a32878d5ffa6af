#include "ui/win32/minimized_icon.h"

namespace win32ui {

IconPlacement CentreIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

void PaintMinimizedIcon(HWND window, HICON icon, SIZE iconSize) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window, &client);
    const IconPlacement at =
        CentreIcon(client.right - client.left, client.bottom - client.top, iconSize.cx, iconSize.cy);
    DrawIconEx(dc, at.x, at.y, icon, iconSize.cx, iconSize.cy, 0, nullptr, DI_NORMAL);
    EndPaint(window, &paint);
}

}  // namespace win32ui
