#pragma once
// What of dialog 102 depends on the display's resolution: the font and the layout, the
// picture scaled to its frame, the window icons. The dialog manager lays the dialog out
// at the resolution it is made at; a move to a monitor of another resolution lays it
// out anew from the template, with the font at the new resolution, as the dialog
// manager would have made it there.
#include "res/resource_tables.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/window_icons.h"

namespace win32ui {

class DialogDisplay {
public:
    explicit DialogDisplay(const res::DialogTemplate& layout) : m_layout(layout) {}
    DialogDisplay(const DialogDisplay&) = delete;
    DialogDisplay& operator=(const DialogDisplay&) = delete;

    // At WM_INITDIALOG: the controls are in template order, the picture first holding
    // its bitmap; the icons come from the module the dialog was made from.
    void Attach(HWND dialog);
    // WM_DPICHANGED: the layout at `dpi`, the window where the system suggests.
    void MoveToDpi(UINT dpi, const RECT& suggested);
    // WM_GETDPISCALEDSIZE: the window size the dialog will have at `dpi`.
    SIZE WindowSizeAt(UINT dpi) const;

    HICON LargeIcon() const { return m_icons.Large(); }
    SIZE LargeIconSize() const { return m_icons.LargeSize(); }

private:
    UniqueFont FontAt(UINT dpi) const;
    void LoadIcons(UINT dpi);

    const res::DialogTemplate& m_layout;
    HWND m_dialog = nullptr;
    // Null until the first change of resolution: the dialog manager's font serves till then.
    UniqueFont m_font;
    FittedPicture m_picture;
    WindowIcons m_icons;
};

}  // namespace win32ui
