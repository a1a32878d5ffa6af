// The dialog on the real window system: the core's start-up through the window
// procedure, the dialog host over the real controls, and a window that refuses to close
// while a run is active.
#include "app/installer_dlg.h"

#include <algorithm>

#include "host/combo_order.h"
#include "tests/win32/win32_test_support.h"
#include "ui/win32/installer_dialog_proc.h"
#include "ui/win32/win32_dialog_host.h"

#include <commctrl.h>

namespace {

class DialogWindow : public win32test::Win32PlatformTest {
protected:
    void SetUp() override {
        InitCommonControls();
        m_context = std::make_unique<win32ui::DialogContext>(m_dialog, m_host);
        m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr,
                                      win32ui::InstallerDialogProc, reinterpret_cast<LPARAM>(m_context.get()));
        ASSERT_TRUE(m_window);
    }
    void TearDown() override {
        if (m_window) DestroyWindow(m_window);
    }
    std::vector<std::string> Items(int id) {
        std::vector<std::string> items;
        for (int i = 0; i < m_host.GetCount(id); ++i) items.push_back(m_host.GetItemText(id, i));
        return items;
    }
    void Command(int id, int code) {
        SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(m_window, id)));
    }

    win32ui::Win32DialogHost m_host;
    CInstallerDlg m_dialog{platform(), m_host};
    std::unique_ptr<win32ui::DialogContext> m_context;
    HWND m_window = nullptr;
};

TEST_F(DialogWindow, StartUpFillsTheRealControls) {
    EXPECT_EQ(m_host.Window(), m_window);
    EXPECT_EQ(Items(IDC_SOURCE_DRIVE), (std::vector<std::string>{"C", "Q"}));
    EXPECT_EQ(Items(IDC_DEST_DRIVE), (std::vector<std::string>{"C"}));
    EXPECT_EQ(m_host.GetCurSel(IDC_DEST_DRIVE), plat::kComboNone);
    EXPECT_EQ(m_host.GetCheck(IDC_MODE_FULL), 1);
    EXPECT_EQ(m_host.GetCheck(IDC_MODE_MIN), 0);
    EXPECT_FALSE(m_host.IsEnabled(IDC_UNINSTALL_RUN));
    EXPECT_FALSE(m_host.IsEnabled(IDC_INSTALL_RUN));
    EXPECT_FALSE(m_host.IsVisible(IDC_PROGRESS));
    EXPECT_EQ(m_host.GetText(IDC_FREE_SPACE), "-- GB");
    EXPECT_EQ(m_host.GetText(IDC_SIZE_MIN), "( 420 MB )");
    // Their sizes at each resolution are the layout check's.
    const LRESULT large = SendMessageA(m_window, WM_GETICON, ICON_BIG, 0);
    EXPECT_TRUE(large);
    EXPECT_TRUE(SendMessageA(m_window, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(SendMessageA(m_window, WM_QUERYDRAGICON, 0, 0), large);
}

TEST_F(DialogWindow, HostOperationsReachTheControls) {
    // The combo box sorts and finds whole items only.
    m_host.ResetContent(IDC_SOURCE_DRIVE);
    for (const char* item : {"Q", "D", "C"}) m_host.AddString(IDC_SOURCE_DRIVE, item);
    EXPECT_EQ(Items(IDC_SOURCE_DRIVE), (std::vector<std::string>{"C", "D", "Q"}));
    EXPECT_EQ(m_host.FindStringExact(IDC_SOURCE_DRIVE, "Q"), 2);
    EXPECT_EQ(m_host.FindStringExact(IDC_SOURCE_DRIVE, "X"), plat::kComboNone);
    m_host.SetCurSel(IDC_SOURCE_DRIVE, 1);
    EXPECT_EQ(m_host.GetCurSel(IDC_SOURCE_DRIVE), 1);

    m_host.SetText(IDC_FREE_SPACE, win32test::kHarunea932);
    EXPECT_EQ(m_host.GetText(IDC_FREE_SPACE), win32test::kHarunea932);
    m_host.SetCheck(IDC_KEEP_SAVEDATA, 1);
    EXPECT_EQ(m_host.GetCheck(IDC_KEEP_SAVEDATA), 1);
    m_host.Enable(IDC_KEEP_SAVEDATA, true);
    EXPECT_TRUE(m_host.IsEnabled(IDC_KEEP_SAVEDATA));
    m_host.Show(IDC_PROGRESS, true);
    EXPECT_TRUE(m_host.IsVisible(IDC_PROGRESS));

    m_host.SetProgressRange(IDC_PROGRESS, 0, 100);
    m_host.SetProgressPos(IDC_PROGRESS, 100);
    EXPECT_EQ(SendDlgItemMessageA(m_window, IDC_PROGRESS, PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(SendDlgItemMessageA(m_window, IDC_PROGRESS, PBM_GETRANGE, FALSE, 0), 100);
}

// The hosts that keep their items themselves (headless, Qt) order them by the core's
// CompareComboItems: it must give the order the system's sorted combo box gives, a
// duplicate placed before the item it equals, and the exact search ignoring case too.
TEST_F(DialogWindow, TheCoresComboOrderIsTheSystemsSortedOrder) {
    const std::vector<std::string> added = {"q", "C", "a", "Z", "ab", "B", "AB", "b", "_", "A", "c2", "C1"};
    m_host.ResetContent(IDC_SOURCE_DRIVE);
    for (const std::string& item : added) m_host.AddString(IDC_SOURCE_DRIVE, item);
    std::vector<std::string> expected;
    for (const std::string& item : added) {
        expected.insert(std::lower_bound(expected.begin(), expected.end(), item,
                                         [](const std::string& a, const std::string& b) { return CompareComboItems(a, b) < 0; }),
                        item);
    }
    EXPECT_EQ(Items(IDC_SOURCE_DRIVE), expected);
    for (const std::string& item : added) {
        const auto first = std::find_if(expected.begin(), expected.end(),
                                        [&](const std::string& listed) { return CompareComboItems(listed, item) == 0; });
        EXPECT_EQ(m_host.FindStringExact(IDC_SOURCE_DRIVE, item), first - expected.begin()) << item;
    }
}

TEST_F(DialogWindow, SelectionChangesAreRoutedToTheCore) {
    m_host.SetCurSel(IDC_DEST_DRIVE, m_host.FindStringExact(IDC_DEST_DRIVE, "C"));
    Command(IDC_DEST_DRIVE, CBN_SELCHANGE);
    // The free space of C: replaces the placeholder and the install folder follows.
    EXPECT_NE(m_host.GetText(IDC_FREE_SPACE), "-- GB");
    EXPECT_EQ(m_dialog.m_strInstallDir, "C:\\Program Files\\Velstra\\Mirel");
}

TEST_F(DialogWindow, CloseIsRefusedWhileARunIsActive) {
    // The dialog manager answers a close request by posting Cancel; pumping the queue
    // delivers it.
    const auto pump = [] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    };
    m_host.SetRunActive(true);
    SendMessageA(m_window, WM_CLOSE, 0, 0);
    SendMessageA(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Command(IDCANCEL, BN_CLICKED);
    pump();
    EXPECT_TRUE(IsWindowVisible(m_window)) << "the dialog ended during a run";
    m_host.SetRunActive(false);
    pump();
    EXPECT_TRUE(IsWindowVisible(m_window)) << "a close request of the run was kept for later";

    SendMessageA(m_window, WM_CLOSE, 0, 0);
    pump();
    // A modeless dialog that ends is hidden, not destroyed.
    EXPECT_FALSE(IsWindowVisible(m_window)) << "close refused after the run";
}

TEST_F(DialogWindow, WaitCursorShowsUntilTheLastEnd) {
    EXPECT_FALSE(m_host.WaitCursorShown());
    m_host.BeginWaitCursor();
    m_host.BeginWaitCursor();
    EXPECT_EQ(GetCursor(), win32ui::Win32DialogHost::WaitCursor());
    m_host.EndWaitCursor();
    EXPECT_TRUE(m_host.WaitCursorShown());
    m_host.EndWaitCursor();
    EXPECT_FALSE(m_host.WaitCursorShown());
    EXPECT_NE(GetCursor(), win32ui::Win32DialogHost::WaitCursor());
}

}  // namespace
