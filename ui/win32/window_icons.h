#pragma once
// The window's large and small icons, made from the multi-size application icon at the
// sizes the system uses at a given resolution: a size the icon holds is taken as it is,
// any other scaled down from the next larger image.
#include "ui/win32/gdi_handles.h"

namespace win32ui {

class WindowIcons {
public:
    // Icon `id` of `module` at the system's large and small icon sizes for `dpi`.
    static WindowIcons Load(HINSTANCE module, int id, UINT dpi);

    // Makes them the icons of `window`; they must live as long as it shows them.
    void SetOn(HWND window) const;
    HICON Large() const { return m_large.Get(); }
    HICON Small() const { return m_small.Get(); }
    SIZE LargeSize() const { return m_largeSize; }

private:
    UniqueIcon m_large;
    UniqueIcon m_small;
    SIZE m_largeSize = {};
};

}  // namespace win32ui
