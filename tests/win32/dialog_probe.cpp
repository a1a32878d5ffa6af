// dialog-probe ID...: finds the installer's dialog on the screen (the top-level window
// with control 1010) and prints, for each control id given, "ID X Y ENABLED": the
// centre of the control in screen coordinates, for a script that clicks it with the X
// server's own input, and whether it is enabled. "ID:ITEM" gives the centre of that
// item in the open list of combo box ID instead. Exit status 1 while no such window is
// shown.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/win32_api.h"

namespace {

BOOL CALLBACK FindInstaller(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetDlgItem(window, 1010)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The open list of a drop-down combo box is a top-level window of its own.
BOOL CALLBACK FindOpenList(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && lstrcmpiA(name, "ComboLBox") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    // Screen positions in the display's own pixels, as the installer (aware of the
    // resolution) has them, not scaled to 96 dpi for a program that is not.
    SetProcessDPIAware();
    HWND dialog = nullptr;
    EnumWindows(FindInstaller, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return 1;
    for (int i = 1; i < argc; ++i) {
        const int id = std::atoi(argv[i]);
        const char* item = std::strchr(argv[i], ':');
        HWND control = GetDlgItem(dialog, id);
        if (!control) {
            std::printf("%s none\n", argv[i]);
            continue;
        }
        RECT rect;
        GetWindowRect(control, &rect);
        if (item) {
            HWND list = nullptr;
            EnumWindows(FindOpenList, reinterpret_cast<LPARAM>(&list));
            const LRESULT index = list ? SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(item + 1))
                                       : LB_ERR;
            if (index == LB_ERR ||
                SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
                std::printf("%s none\n", argv[i]);
                continue;
            }
            MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        }
        std::printf("%s %ld %ld %d\n", argv[i], (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2,
                    IsWindowEnabled(control) ? 1 : 0);
    }
    return 0;
}
