#pragma once
// Owners for the GDI objects, icons and device contexts the Windows front-end makes.
#include "platform/win32/win32_handles.h"

namespace win32ui {

template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Object Invalid() { return nullptr; }
    static void Close(Object object) { DeleteObject(object); }
};
struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};

using UniqueBitmap = win32plat::UniqueWin32Handle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = win32plat::UniqueWin32Handle<GdiObjectTraits<HFONT>>;
// Icons made by LoadImage without LR_SHARED or by LoadIconWithScaleDown.
using UniqueIcon = win32plat::UniqueWin32Handle<IconTraits>;

// The screen's device context.
class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) ReleaseDC(nullptr, m_dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// A device context for drawing into memory, compatible with `like`.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : m_dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// An object selected into a device context for the owner's lifetime; the one it
// replaced goes back in at the end, so the object can be deleted afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selection() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace win32ui
