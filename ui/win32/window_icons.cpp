#include "ui/win32/window_icons.h"

#include <commctrl.h>

#include "ui/win32/window_dpi.h"

namespace win32ui {
namespace {

using ScaleDownFunction = HRESULT WINAPI(HINSTANCE, PCWSTR, int, int, HICON*);

// The version 6 common controls, as the manifest binds them (the import of
// InitCommonControlsEx resolves there), have LoadIconWithScaleDown; the import library
// of the toolchain lacks it, and older versions too.
ScaleDownFunction* LoadIconWithScaleDownFunction() {
    HMODULE controls = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&InitCommonControlsEx), &controls))
        return nullptr;
    return reinterpret_cast<ScaleDownFunction*>(
        reinterpret_cast<void*>(GetProcAddress(controls, "LoadIconWithScaleDown")));
}

UniqueIcon LoadIconAt(HINSTANCE module, int id, int width, int height) {
    HICON icon = nullptr;
    ScaleDownFunction* scaleDown = LoadIconWithScaleDownFunction();
    if (scaleDown && SUCCEEDED(scaleDown(module, MAKEINTRESOURCEW(id), width, height, &icon))) return UniqueIcon(icon);
    return UniqueIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0)));
}

}  // namespace

WindowIcons WindowIcons::Load(HINSTANCE module, int id, UINT dpi) {
    WindowIcons icons;
    icons.m_largeSize = {SystemMetricAt(SM_CXICON, dpi), SystemMetricAt(SM_CYICON, dpi)};
    icons.m_large = LoadIconAt(module, id, icons.m_largeSize.cx, icons.m_largeSize.cy);
    icons.m_small = LoadIconAt(module, id, SystemMetricAt(SM_CXSMICON, dpi), SystemMetricAt(SM_CYSMICON, dpi));
    return icons;
}

void WindowIcons::SetOn(HWND window) const {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Large()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Small()));
}

}  // namespace win32ui
