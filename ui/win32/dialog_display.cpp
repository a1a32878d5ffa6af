#include "ui/win32/dialog_display.h"

#include "app/control_ids.h"
#include "ui/win32/dialog_base_units.h"
#include "ui/win32/window_dpi.h"

namespace win32ui {
namespace {

bool IsPicture(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Static") == 0 && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

SIZE ClientSize(const res::DialogTemplate& layout, BaseUnits units) {
    const RECT size = UnitsToPixels(units, 0, 0, layout.width, layout.height);
    return {size.right, size.bottom};
}

SIZE OuterSize(HWND dialog, SIZE client, UINT dpi) {
    return WindowSizeFor(client, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)), dpi);
}

}  // namespace

void DialogDisplay::Attach(HWND dialog) {
    m_dialog = dialog;
    TakeOverDpiScaling(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsPicture(child)) {
            m_picture.Attach(child);
            break;
        }
    }
    LoadIcons(WindowDpi(dialog));
}

UniqueFont DialogDisplay::FontAt(UINT dpi) const {
    // The face, weight and character set of the font the dialog manager made from the
    // template; only the height follows the resolution.
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = -MulDiv(m_layout.fontPoints, static_cast<int>(dpi), 72);
    font.lfWidth = 0;
    return UniqueFont(CreateFontIndirectW(&font));
}

SIZE DialogDisplay::WindowSizeAt(UINT dpi) const {
    const UniqueFont font = FontAt(dpi);
    return OuterSize(m_dialog, ClientSize(m_layout, MeasureBaseUnits(font.Get())), dpi);
}

void DialogDisplay::MoveToDpi(UINT dpi, const RECT& suggested) {
    UniqueFont font = FontAt(dpi);
    if (!font.Valid()) return;
    const BaseUnits units = MeasureBaseUnits(font.Get());
    // The children are in template order: the dialog makes none of its own.
    HWND child = GetWindow(m_dialog, GW_CHILD);
    for (std::size_t i = 0; i < m_layout.controlCount && child; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        const res::ControlTemplate& control = m_layout.controls[i];
        // The font first: a combo box sizes its closed height from it.
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        const RECT at = UnitsToPixels(units, control.x, control.y, control.width, control.height);
        SetWindowPos(child, nullptr, at.left, at.top, at.right, at.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The dialog's own font stays the one the dialog manager made and frees.
    m_font = std::move(font);
    const SIZE client = ClientSize(m_layout, units);
    SIZE size = OuterSize(m_dialog, client, dpi);
    SetWindowPos(m_dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame is not always the one foreseen for the new resolution: a system-aware
    // or Windows 8.1 frame keeps its size. The client area is what must be right.
    RECT got;
    GetClientRect(m_dialog, &got);
    if (got.right != client.cx || got.bottom != client.cy) {
        size.cx += client.cx - got.right;
        size.cy += client.cy - got.bottom;
        SetWindowPos(m_dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_picture.Fit();
    LoadIcons(dpi);
    InvalidateRect(m_dialog, nullptr, TRUE);
}

void DialogDisplay::LoadIcons(UINT dpi) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_dialog, GWLP_HINSTANCE));
    WindowIcons icons = WindowIcons::Load(module, IDR_MAINFRAME, dpi);
    icons.SetOn(m_dialog);
    // The icons before are released only now that the window no longer shows them.
    m_icons = std::move(icons);
}

}  // namespace win32ui
