// The resources of SETUP.EXE as the system loads them: dialog 102 built by the dialog
// manager from the resource script agrees with the layout and texts the other builds
// compile in; icon, bitmap and version block are present.
#include <cstring>
#include <cwctype>

#include "res/resource_tables.h"
#include "tests/win32/dialog_template_reader.h"
#include "tests/win32/win32_test_support.h"

#include <commctrl.h>

namespace {

std::string ToAnsi(const char* utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
    ansi.pop_back();
    return ansi;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class DialogResources : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        m_dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr, QuietDialogProc, 0);
        ASSERT_TRUE(m_dialog) << "dialog 102 not created, error " << GetLastError();
    }
    void TearDown() override {
        if (m_dialog) DestroyWindow(m_dialog);
    }
    HWND m_dialog = nullptr;
};

TEST_F(DialogResources, DialogFrameCaptionAndFont) {
    const res::DialogTemplate& layout = res::MainDialogTemplate();
    EXPECT_EQ(TextOf(m_dialog), ToAnsi(layout.caption));
    const LONG style = GetWindowLongA(m_dialog, GWL_STYLE);
    for (DWORD bit : {DWORD{WS_POPUP}, DWORD{WS_CAPTION}, DWORD{WS_SYSMENU}, DWORD{DS_MODALFRAME}})
        EXPECT_EQ(static_cast<DWORD>(style) & bit, bit) << std::hex << bit;
    EXPECT_TRUE(GetWindowLongA(m_dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    LOGFONTA font = {};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(m_dialog, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, ToAnsi(layout.fontName).c_str());
    // 9 points at the screen's resolution, as a character height.
    HDC screen = GetDC(nullptr);
    const int expected = -MulDiv(layout.fontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfHeight, expected);

    RECT units = {0, 0, layout.width, layout.height};
    MapDialogRect(m_dialog, &units);
    RECT client;
    GetClientRect(m_dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

std::u16string ToUtf16(const char* utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), units);
    return std::u16string(wide.begin(), wide.end() - 1);
}

// A predefined class is written as its number or as its name; both mean the same.
bool IsClass(const win32test::ItemTemplate& item, int number, std::u16string name) {
    if (item.classNumber) return item.classNumber == number;
    std::u16string actual = item.className;
    for (char16_t& ch : actual) ch = static_cast<char16_t>(std::towlower(ch));
    return actual == name;
}

TEST(DialogTemplate, TheResourceHoldsTheSharedLayoutWithItsStyles) {
    const res::DialogTemplate& layout = res::MainDialogTemplate();
    win32test::DialogTemplateEx dialog;
    ASSERT_TRUE(win32test::ReadDialogTemplate(102, &dialog));
    EXPECT_EQ(dialog.style & ~DWORD{DS_SETFONT}, DWORD{DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU});
    EXPECT_EQ(dialog.exStyle, DWORD{WS_EX_APPWINDOW});
    EXPECT_EQ(dialog.caption, ToUtf16(layout.caption));
    EXPECT_EQ(dialog.typeface, u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");  // ＭＳ Ｐゴシック
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.width, layout.width);
    EXPECT_EQ(dialog.height, layout.height);
    ASSERT_EQ(dialog.items.size(), layout.controlCount);

    for (std::size_t i = 0; i < layout.controlCount; ++i) {
        const res::ControlTemplate& control = layout.controls[i];
        const win32test::ItemTemplate& item = dialog.items[i];
        SCOPED_TRACE("control " + std::to_string(control.id) + " at index " + std::to_string(i));
        EXPECT_EQ(item.id, control.id);
        EXPECT_EQ(item.x, control.x);
        EXPECT_EQ(item.y, control.y);
        EXPECT_EQ(item.width, control.width);
        EXPECT_EQ(item.height, control.height);
        EXPECT_TRUE(item.style & WS_CHILD);
        EXPECT_EQ((item.style & WS_GROUP) != 0, (control.flags & res::kFlagGroup) != 0);
        EXPECT_EQ((item.style & WS_BORDER) != 0, (control.flags & res::kFlagBorder) != 0);
        EXPECT_EQ((item.style & WS_VISIBLE) == 0, (control.flags & res::kFlagHidden) != 0);
        const DWORD buttonType = item.style & BS_TYPEMASK;
        switch (control.kind) {
        case res::ControlKind::Picture:
            EXPECT_TRUE(IsClass(item, 0x82, u"static"));
            EXPECT_EQ(item.style & SS_TYPEMASK, DWORD{SS_BITMAP});
            // Centred and clipped to its frame rather than grown to the bitmap.
            EXPECT_TRUE(item.style & SS_CENTERIMAGE);
            EXPECT_EQ(item.titleNumber, control.resourceId);
            break;
        case res::ControlKind::LText:
        case res::ControlKind::RText:
            EXPECT_TRUE(IsClass(item, 0x82, u"static"));
            EXPECT_EQ(item.style & SS_TYPEMASK, DWORD(control.kind == res::ControlKind::RText ? SS_RIGHT : SS_LEFT));
            break;
        case res::ControlKind::GroupBox:
            EXPECT_TRUE(IsClass(item, 0x80, u"button"));
            EXPECT_EQ(buttonType, DWORD{BS_GROUPBOX});
            break;
        case res::ControlKind::Radio:
            EXPECT_TRUE(IsClass(item, 0x80, u"button"));
            EXPECT_EQ(buttonType, DWORD{BS_AUTORADIOBUTTON});
            break;
        case res::ControlKind::Check:
            EXPECT_TRUE(IsClass(item, 0x80, u"button"));
            EXPECT_EQ(buttonType, DWORD{BS_AUTOCHECKBOX});
            break;
        case res::ControlKind::PushButton:
            EXPECT_TRUE(IsClass(item, 0x80, u"button"));
            EXPECT_EQ(buttonType, DWORD{BS_PUSHBUTTON});
            break;
        case res::ControlKind::Combo:
            EXPECT_TRUE(IsClass(item, 0x85, u"combobox"));
            EXPECT_EQ(item.style & 0x3, DWORD{CBS_DROPDOWNLIST});
            EXPECT_TRUE(item.style & CBS_SORT);
            EXPECT_TRUE(item.style & WS_VSCROLL);
            break;
        case res::ControlKind::Progress:
            EXPECT_TRUE(IsClass(item, -1, u"msctls_progress32"));
            break;
        }
        if (control.kind != res::ControlKind::Picture) {
            EXPECT_EQ(item.title, ToUtf16(control.text));
        }
    }
}

TEST_F(DialogResources, TheDialogManagerPlacesEveryControlWithItsTextInTheCodePage) {
    const res::DialogTemplate& layout = res::MainDialogTemplate();
    HWND child = GetWindow(m_dialog, GW_CHILD);
    for (std::size_t i = 0; i < layout.controlCount; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        const res::ControlTemplate& control = layout.controls[i];
        SCOPED_TRACE("control " + std::to_string(control.id) + " at index " + std::to_string(i));
        ASSERT_TRUE(child);
        EXPECT_EQ(GetDlgCtrlID(child), control.id);
        if (control.kind != res::ControlKind::Picture && control.kind != res::ControlKind::Combo) {
            EXPECT_EQ(TextOf(child), ToAnsi(control.text));
        }
        // Origin and size are converted from dialog units separately.
        RECT origin = {control.x, control.y, control.width, control.height};
        MapDialogRect(m_dialog, &origin);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, origin.left);
        EXPECT_EQ(actual.top, origin.top);
        EXPECT_EQ(actual.right - actual.left, origin.right);
        // A drop-down list's closed height is the system's, not the template's.
        if (control.kind != res::ControlKind::Combo) {
            EXPECT_EQ(actual.bottom - actual.top, origin.bottom);
        }
    }
    EXPECT_FALSE(child) << "more controls than the layout has";
    HWND picture = GetWindow(m_dialog, GW_CHILD);
    EXPECT_TRUE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "bitmap 131 not loaded";
}

TEST(ProgramResources, IconVersionAndStringsArePresent) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    EXPECT_TRUE(LoadIconA(module, MAKEINTRESOURCEA(128)));
    HRSRC icons = FindResourceA(module, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_TRUE(icons);
    // The group directory: reserved, type, count, then the entries.
    const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(module, icons)));
    EXPECT_EQ(directory[2], 4) << "icon 128 should hold four images";

    // The version block as the program carries it; a copy, since queries may write.
    HRSRC version = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_TRUE(version);
    const DWORD size = SizeofResource(module, version);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, version)));
    std::string block(data, data + size);
    block.resize(size * 2);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\FileVersion", reinterpret_cast<void**>(&text),
                               &length));
    EXPECT_STREQ(text, "1, 0, 0, 1");
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "1, 0, 0, 1");
    // Program Files takes an administrator: the manifest asks for one.
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_TRUE(manifest);
    const auto* manifestText = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string manifestXml(manifestText, SizeofResource(module, manifest));
    EXPECT_NE(manifestXml.find("level=\"requireAdministrator\""), std::string::npos) << manifestXml;

    for (const char* setting : {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
                                "PerMonitorV2", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""})
        EXPECT_NE(manifestXml.find(setting), std::string::npos) << setting;

    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    EXPECT_EQ(translation->language, 0x0411);
    EXPECT_EQ(translation->codePage, 1200);
}

// What the manifest does when the system reads it: the program is told each monitor's
// resolution, and its controls are the version 6 common controls: the button class's
// procedure is in the library the manifest binds (without it, in the system's own).
TEST(ProgramResources, TheManifestMakesTheProgramResolutionAwareWithVersion6Controls) {
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&classes));
    HMODULE controls = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(&InitCommonControlsEx), &controls));
    HWND button = CreateWindowExW(0, L"Button", L"", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(button);
    HMODULE procedureModule = nullptr;
    EXPECT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCWSTR>(GetClassLongPtrW(button, GCLP_WNDPROC)), &procedureModule));
    EXPECT_EQ(procedureModule, controls);
    DestroyWindow(button);
}

}  // namespace
