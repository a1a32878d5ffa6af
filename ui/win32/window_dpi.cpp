#include "ui/win32/window_dpi.h"

#include "ui/win32/gdi_handles.h"

namespace win32ui {
namespace {

// A function of user32 that older systems lack, or null.
template <typename Function>
Function* User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
    if (auto* forWindow = User32Function<UINT WINAPI(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    const ScreenDc screen;
    return static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

int SystemMetricAt(int index, UINT dpi) {
    if (auto* forDpi = User32Function<int WINAPI(int, UINT)>("GetSystemMetricsForDpi")) return forDpi(index, dpi);
    return GetSystemMetrics(index);
}

SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    RECT rect = {0, 0, client.cx, client.cy};
    if (auto* forDpi = User32Function<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi"))
        forDpi(&rect, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void TakeOverDpiScaling(HWND dialog) {
    if (auto* behaviour = User32Function<BOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS)>(
            "SetDialogDpiChangeBehavior"))
        behaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace win32ui
