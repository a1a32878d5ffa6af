// dialog-layout-check SETUP.EXE [--move-to DPI]: makes dialog 102 from SETUP.EXE's own
// resources with the installer's window procedure and core, as the installer shows it
// at the resolution of the system it runs on, with C: chosen as the destination so that
// every text the start-up and a choice put in is there. With --move-to the dialog is
// then moved to a monitor of resolution DPI the way the system does it
// (WM_GETDPISCALEDSIZE, then WM_DPICHANGED with the suggested rectangle).
//
// Prints the layout, in client coordinates and template order:
//   dpi N
//   client WIDTH HEIGHT
//   control INDEX ID LEFT TOP WIDTH HEIGHT font LOGFONT-HEIGHT
// and a line starting with FAULT for each of: a static text, check box or radio button
// whose text, measured as the control draws it (wrapped where it wraps), needs more than
// its client rectangle; a picture whose bitmap is not the size of its frame; window
// icons not at the system's icon sizes; no size announced for the new resolution.
// Exit status 1 when there is a fault, 2 when the check cannot run.
#include "app/installer_dlg.h"

#include "platform/win32/win32_platform.h"
#include "ui/win32/installer_dialog_proc.h"
#include "ui/win32/win32_dialog_host.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class Faults {
public:
    void Add(const std::string& what) {
        std::printf("FAULT %s\n", what.c_str());
        ++m_count;
    }
    bool Any() const { return m_count > 0; }

private:
    int m_count = 0;
};

std::string Utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsClass(HWND window, const char* name) {
    char actual[32] = {};
    GetClassNameA(window, actual, sizeof actual);
    return lstrcmpiA(actual, name) == 0;
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::string Describe(HWND control, SIZE needed, SIZE has) {
    return "control " + std::to_string(GetDlgCtrlID(control)) + " \"" + Utf8(TextOf(control)) + "\" needs " +
           std::to_string(needed.cx) + "x" + std::to_string(needed.cy) + ", has " + std::to_string(has.cx) + "x" +
           std::to_string(has.cy);
}

// The DrawText format a static control of this style draws its text with.
bool StaticTextFormat(LONG style, UINT* format) {
    switch (style & SS_TYPEMASK) {
    case SS_LEFT: *format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_CENTER: *format = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_RIGHT: *format = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: *format = DT_LEFT | DT_EXPANDTABS; break;
    default: return false;  // pictures, frames
    }
    if (style & SS_NOPREFIX) *format |= DT_NOPREFIX;
    return true;
}

void CheckStaticText(HWND control, Faults& faults) {
    UINT format = 0;
    const std::wstring text = TextOf(control);
    if (!StaticTextFormat(GetWindowLongW(control, GWL_STYLE), &format) || text.empty()) return;
    const SIZE has = ClientSize(control);
    HDC dc = GetDC(control);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    // Given the control's width, the height the wrapped lines take; a word that cannot
    // be broken widens the rectangle instead.
    RECT extent = {0, 0, has.cx, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, format | DT_CALCRECT);
    // Unwrapped, for the report: how wide the control would have to be.
    RECT unwrapped = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &unwrapped, (format & ~UINT{DT_WORDBREAK}) | DT_CALCRECT);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    const SIZE needed = {extent.right - extent.left, extent.bottom - extent.top};
    if (needed.cx > has.cx || needed.cy > has.cy)
        faults.Add("clipped " + Describe(control, needed, has) + " (unwrapped " +
                   std::to_string(unwrapped.right - unwrapped.left) + "x" +
                   std::to_string(unwrapped.bottom - unwrapped.top) + ")");
}

// A check box or radio button: the box, the gap and the text on one line, as the
// control itself measures them.
void CheckButtonText(HWND control, Faults& faults) {
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX && type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) return;
    SIZE needed = {};
    if (!SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&needed))) {
        faults.Add("control " + std::to_string(GetDlgCtrlID(control)) + " cannot measure its text");
        return;
    }
    const SIZE has = ClientSize(control);
    if (needed.cx > has.cx || needed.cy > has.cy) faults.Add("clipped " + Describe(control, needed, has));
}

void CheckPicture(HWND control, Faults& faults) {
    if (!IsClass(control, "Static") || (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) return;
    BITMAP shown = {};
    const auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!bitmap || !GetObjectW(bitmap, sizeof shown, &shown)) {
        faults.Add("the picture shows no bitmap");
        return;
    }
    const SIZE frame = ClientSize(control);
    if (shown.bmWidth != frame.cx || shown.bmHeight != frame.cy)
        faults.Add("the picture is " + std::to_string(shown.bmWidth) + "x" + std::to_string(shown.bmHeight) +
              " in a frame of " + std::to_string(frame.cx) + "x" + std::to_string(frame.cy));
}

SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    BITMAP mask = {};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    return {mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2};
}

void CheckIcon(HWND dialog, WPARAM which, int widthMetric, int heightMetric, UINT dpi, Faults& faults) {
    const SIZE size = IconSize(reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, which, 0)));
    const int width = GetSystemMetricsForDpi(widthMetric, dpi);
    const int height = GetSystemMetricsForDpi(heightMetric, dpi);
    if (size.cx != width || size.cy != height)
        faults.Add(std::string(which == ICON_BIG ? "large" : "small") + " icon is " + std::to_string(size.cx) + "x" +
              std::to_string(size.cy) + ", the system's size " + std::to_string(width) + "x" + std::to_string(height));
}

// As the system moves a window to a monitor of another resolution: it asks the window
// for its size there, then tells it the new resolution and where to go.
void MoveToDpi(HWND dialog, UINT from, UINT to, Faults& faults) {
    RECT window;
    GetWindowRect(dialog, &window);
    SIZE announced = {MulDiv(window.right - window.left, static_cast<int>(to), static_cast<int>(from)),
                      MulDiv(window.bottom - window.top, static_cast<int>(to), static_cast<int>(from))};
    const bool answered = SendMessageW(dialog, WM_GETDPISCALEDSIZE, to, reinterpret_cast<LPARAM>(&announced)) != 0;
    RECT suggested = {window.left, window.top, window.left + announced.cx, window.top + announced.cy};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    // Its frame under Wine keeps the system's resolution, so the size taken can differ
    // from the one announced; the client area is compared with a dialog made at `to`.
    if (!answered) faults.Add("the dialog announced no size for " + std::to_string(to) + " dpi");
}

LONG FontHeight(HWND control) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// Texts are measured only where the dialog was made: after a move they are compared by
// geometry and font with a dialog made at the new resolution, since Wine draws check
// marks at its one system resolution, which a moved control does not have.
void PrintAndCheck(HWND dialog, UINT dpi, bool measureTexts, Faults& faults) {
    const SIZE client = ClientSize(dialog);
    std::printf("dpi %u\nclient %ld %ld\n", dpi, client.cx, client.cy);
    int index = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        std::printf("control %d %d %ld %ld %ld %ld font %ld\n", index, GetDlgCtrlID(child), rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, FontHeight(child));
        if (IsClass(child, "Static")) {
            if (measureTexts) CheckStaticText(child, faults);
            CheckPicture(child, faults);
        } else if (IsClass(child, "Button") && measureTexts) {
            CheckButtonText(child, faults);
        }
    }
    CheckIcon(dialog, ICON_BIG, SM_CXICON, SM_CYICON, dpi, faults);
    CheckIcon(dialog, ICON_SMALL, SM_CXSMICON, SM_CYSMICON, dpi, faults);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--move-to") == 0)) {
        std::fprintf(stderr, "usage: dialog-layout-check SETUP.EXE [--move-to DPI]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    // Its resources only: the dialog template, the bitmap and the icon.
    const HMODULE setup = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!setup) {
        std::fprintf(stderr, "cannot load %s: error %lu\n", argv[1], GetLastError());
        return 2;
    }

    Faults faults;
    win32plat::Win32Platform system;
    win32ui::Win32DialogHost host;
    CInstallerDlg installer(system.platform(), host);
    {
        win32ui::DialogContext context(installer, host);
        HWND dialog = CreateDialogParamA(setup, MAKEINTRESOURCEA(IDD_INSTALLER_DIALOG), nullptr,
                                         win32ui::InstallerDialogProc, reinterpret_cast<LPARAM>(&context));
        if (!dialog) {
            std::fprintf(stderr, "dialog 102 not made: error %lu\n", GetLastError());
            return 2;
        }
        host.SetCurSel(IDC_DEST_DRIVE, host.FindStringExact(IDC_DEST_DRIVE, "C"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEST_DRIVE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DEST_DRIVE)));
        UINT dpi = GetDpiForWindow(dialog);
        if (argc == 4) {
            const UINT to = static_cast<UINT>(std::atoi(argv[3]));
            MoveToDpi(dialog, dpi, to, faults);
            dpi = to;
        }
        PrintAndCheck(dialog, dpi, argc == 2, faults);
        DestroyWindow(dialog);
    }
    FreeLibrary(setup);
    return faults.Any() ? 1 : 0;
}
