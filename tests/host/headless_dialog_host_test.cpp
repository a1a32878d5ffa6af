// The headless host stands in for the dialog in every scenario test and in the scripted
// driver, so its combo boxes, answers and start states must behave like the real ones.
#include "host/headless_dialog_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"

namespace {

using Items = std::vector<std::string>;

TEST(HeadlessDialogHost, StartStatesComeFromTheTemplate) {
    HeadlessDialogHost host;
    struct Row {
        int id;
        const char* text;
        bool visible;
    };
    const Row rows[] = {
        {plat::kIdCancel, "キャンセル", true},
        {IDC_FREE_SPACE, "size", true},
        {IDC_INSTALL_GROUP, "インストール", true},
        {IDC_DEST_CAPTION, "インストール先ドライブ\n（\\Program files\\Velstra\\Mirel フォルダ固定です）", true},
        {IDC_SIZE_FULL, "Static", true},
        {IDC_INSTALL_RUN, "実行", true},
        {IDC_PROGRESS, "", false},
        {IDC_MODE_FULL, "完全", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(host.GetText(row.id), row.text);
        EXPECT_EQ(host.IsVisible(row.id), row.visible);
        EXPECT_TRUE(host.IsEnabled(row.id));
    }
    for (int id : {IDC_MODE_MIN, IDC_MODE_NORMAL, IDC_MODE_FULL, IDC_SHORTCUT_PROGRAMS, IDC_SHORTCUT_DESKTOP,
                   IDC_KEEP_SAVEDATA}) {
        EXPECT_EQ(host.GetCheck(id), 0) << id;
    }
    for (int id : {IDC_SOURCE_DRIVE, IDC_DEST_DRIVE}) {
        EXPECT_EQ(host.GetCount(id), 0) << id;
        EXPECT_EQ(host.GetCurSel(id), plat::kComboNone) << id;
    }
    EXPECT_EQ(host.ProgressPos(IDC_PROGRESS), 0);
}

TEST(HeadlessDialogHost, ListsEveryAddressedControlInIdOrder) {
    HeadlessDialogHost host;
    const std::vector<int> expected = {plat::kIdCancel,    IDC_DEST_DRIVE,        IDC_FREE_SPACE,
                                       IDC_SOURCE_DRIVE,   IDC_SHORTCUT_PROGRAMS, IDC_SHORTCUT_DESKTOP,
                                       IDC_KEEP_SAVEDATA,  IDC_UNINSTALL_RUN,     IDC_INSTALL_RUN,
                                       IDC_PROGRESS,       IDC_INSTALL_GROUP,     IDC_SOURCE_CAPTION,
                                       IDC_DEST_CAPTION,   IDC_FREE_CAPTION,      IDC_UNINSTALL_GROUP,
                                       IDC_MODE_MIN,       IDC_MODE_NORMAL,       IDC_MODE_FULL,
                                       IDC_SIZE_MIN,       IDC_SIZE_NORMAL,       IDC_SIZE_FULL};
    EXPECT_EQ(host.ControlIds(), expected);
    EXPECT_FALSE(host.Kind(-1).has_value());
}

TEST(HeadlessDialogHost, TemplateTextsPassThroughTheConverter) {
    HeadlessDialogHost host([](const std::string& utf8) { return "[" + utf8 + "]"; });
    EXPECT_EQ(host.GetText(IDC_FREE_SPACE), "[size]");
    EXPECT_EQ(host.GetText(IDC_PROGRESS), "[]");
}

TEST(HeadlessDialogHost, ComboBoxKeepsItemsSortedIgnoringCase) {
    struct Case {
        Items added;
        Items sorted;
        std::vector<int> indices;
    };
    const Case cases[] = {
        {{"Q", "C", "D"}, {"C", "D", "Q"}, {0, 0, 1}},
        {{"q", "C", "d", "A"}, {"A", "C", "d", "q"}, {0, 0, 1, 0}},
        {{"C", "c"}, {"c", "C"}, {0, 0}},  // an equal item goes before the one there
        {{"CD", "C", "B"}, {"B", "C", "CD"}, {0, 0, 0}},
        {{"\xE8\xA1\xA8", "Z"}, {"Z", "\xE8\xA1\xA8"}, {0, 0}},  // bytes compared unsigned
    };
    for (const Case& c : cases) {
        HeadlessDialogHost host;
        std::vector<int> indices;
        for (const std::string& item : c.added) indices.push_back(host.AddString(IDC_SOURCE_DRIVE, item));
        EXPECT_EQ(host.Items(IDC_SOURCE_DRIVE), c.sorted);
        EXPECT_EQ(indices, c.indices);
        EXPECT_EQ(host.GetCount(IDC_SOURCE_DRIVE), static_cast<int>(c.sorted.size()));
    }
}

TEST(HeadlessDialogHost, SelectionFollowsItsItemWhenItemsAreInsertedBefore) {
    HeadlessDialogHost host;
    host.AddString(IDC_DEST_DRIVE, "Q");
    host.SetCurSel(IDC_DEST_DRIVE, 0);
    host.AddString(IDC_DEST_DRIVE, "C");
    host.AddString(IDC_DEST_DRIVE, "Z");
    EXPECT_EQ(host.GetCurSel(IDC_DEST_DRIVE), 1);
    EXPECT_EQ(host.GetItemText(IDC_DEST_DRIVE, host.GetCurSel(IDC_DEST_DRIVE)), "Q");
    EXPECT_EQ(host.GetText(IDC_DEST_DRIVE), "Q");
}

TEST(HeadlessDialogHost, FindStringExactIgnoresCaseButNotLength) {
    HeadlessDialogHost host;
    for (const char* item : {"C", "CD", "Q", "q"}) host.AddString(IDC_SOURCE_DRIVE, item);
    struct Case {
        const char* wanted;
        int index;
    };
    const Case cases[] = {
        {"C", 0}, {"c", 0}, {"cd", 1}, {"Q", 2},  // the first of two equal items
        {"D", plat::kComboNone}, {"", plat::kComboNone}, {"CDX", plat::kComboNone},
    };
    for (const Case& c : cases) EXPECT_EQ(host.FindStringExact(IDC_SOURCE_DRIVE, c.wanted), c.index) << c.wanted;
}

TEST(HeadlessDialogHost, InvalidSelectionClearsIt) {
    for (int index : {plat::kComboNone, 2, 99, -5}) {
        HeadlessDialogHost host;
        host.AddString(IDC_DEST_DRIVE, "C");
        host.AddString(IDC_DEST_DRIVE, "D");
        host.SetCurSel(IDC_DEST_DRIVE, 1);
        host.SetCurSel(IDC_DEST_DRIVE, index);
        EXPECT_EQ(host.GetCurSel(IDC_DEST_DRIVE), plat::kComboNone) << index;
        EXPECT_EQ(host.GetItemText(IDC_DEST_DRIVE, index), "") << index;
    }
}

TEST(HeadlessDialogHost, ResetContentEmptiesItemsAndSelection) {
    HeadlessDialogHost host;
    host.AddString(IDC_DEST_DRIVE, "C");
    host.SetCurSel(IDC_DEST_DRIVE, 0);
    host.ResetContent(IDC_DEST_DRIVE);
    EXPECT_EQ(host.GetCount(IDC_DEST_DRIVE), 0);
    EXPECT_EQ(host.GetCurSel(IDC_DEST_DRIVE), plat::kComboNone);
    EXPECT_EQ(host.GetText(IDC_DEST_DRIVE), "");
}

// Calls on ids the dialog does not have, or on controls of the wrong kind, must be
// harmless: the real window ignores them too.
TEST(HeadlessDialogHost, UnknownIdsAndWrongKindsAreIgnored) {
    HeadlessDialogHost host;
    for (int id : {-1, 0, 1, 999, 1006, 1016, 5000}) {
        SCOPED_TRACE(id);
        host.SetText(id, "x");
        host.Enable(id, true);
        host.Show(id, true);
        host.SetCheck(id, 1);
        host.ResetContent(id);
        EXPECT_EQ(host.AddString(id, "C"), plat::kComboNone);
        host.SetCurSel(id, 0);
        host.SetProgressRange(id, 0, 10);
        host.SetProgressPos(id, 5);
        EXPECT_EQ(host.GetText(id), "");
        EXPECT_FALSE(host.IsEnabled(id));
        EXPECT_FALSE(host.IsVisible(id));
        EXPECT_EQ(host.GetCheck(id), 0);
        EXPECT_EQ(host.FindStringExact(id, "C"), plat::kComboNone);
        EXPECT_EQ(host.GetCount(id), 0);
        EXPECT_EQ(host.GetCurSel(id), plat::kComboNone);
        EXPECT_EQ(host.GetItemText(id, 0), "");
        EXPECT_EQ(host.ProgressPos(id), 0);
        EXPECT_FALSE(host.Kind(id).has_value());
        EXPECT_TRUE(host.Items(id).empty());
    }
    EXPECT_TRUE(host.ProgressHistory().empty());

    // Combo operations on a static, a check on a push button.
    EXPECT_EQ(host.AddString(IDC_FREE_SPACE, "C"), plat::kComboNone);
    host.SetCheck(IDC_INSTALL_RUN, 1);
    EXPECT_EQ(host.GetCheck(IDC_INSTALL_RUN), 0);
    host.SetProgressPos(IDC_SIZE_MIN, 50);
    EXPECT_TRUE(host.ProgressHistory().empty());
}

TEST(HeadlessDialogHost, ProgressKeepsItsRangeAndRecordsEveryPosition) {
    HeadlessDialogHost host;
    host.SetProgressRange(IDC_PROGRESS, 0, 100);
    for (int pos : {0, 100, 0, 150, -3}) host.SetProgressPos(IDC_PROGRESS, pos);
    EXPECT_EQ(host.ProgressHistory(), (std::vector<int>{0, 100, 0, 150, -3}));
    EXPECT_EQ(host.ProgressPos(IDC_PROGRESS), 0);
    host.SetProgressPos(IDC_PROGRESS, 150);
    EXPECT_EQ(host.ProgressPos(IDC_PROGRESS), 100);
}

TEST(HeadlessDialogHost, DefaultAnswersAreOkOrYes) {
    struct Case {
        unsigned flags;
        int answer;
    };
    const Case cases[] = {
        {plat::kMbOk | plat::kMbIconInformation, plat::kIdOk},
        {plat::kMbOk | plat::kMbIconExclamation, plat::kIdOk},
        {plat::kMbOkCancel | plat::kMbIconExclamation, plat::kIdOk},
        {plat::kMbYesNo | plat::kMbIconInformation, plat::kIdYes},
    };
    HeadlessDialogHost host;
    for (const Case& c : cases) EXPECT_EQ(host.MessageBox("text", c.flags), c.answer) << c.flags;
    ASSERT_EQ(host.Messages().size(), 4u);
    EXPECT_EQ(host.Messages()[3].flags, 0x44u);
    EXPECT_EQ(host.Messages()[3].answer, plat::kIdYes);
}

TEST(HeadlessDialogHost, AnswererDecidesAndEveryBoxIsRecorded) {
    HeadlessDialogHost host;
    std::vector<std::string> asked;
    host.SetAnswerer([&](const std::string& text, unsigned flags) {
        asked.push_back(text);
        return flags == 0x31 ? plat::kIdCancel : plat::kIdNo;
    });
    EXPECT_EQ(host.MessageBox("disc", 0x31), plat::kIdCancel);
    EXPECT_EQ(host.MessageBox("sure?", 0x44), plat::kIdNo);
    EXPECT_EQ(asked, (std::vector<std::string>{"disc", "sure?"}));
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0].text, "disc");
    EXPECT_EQ(host.Messages()[0].answer, plat::kIdCancel);
    EXPECT_EQ(host.Messages()[1].answer, plat::kIdNo);
}

TEST(HeadlessDialogHost, WaitCursorAndRunStateAreTracked) {
    HeadlessDialogHost host;
    EXPECT_FALSE(host.RunActive());
    host.SetRunActive(true);
    host.BeginWaitCursor();
    host.BeginWaitCursor();
    EXPECT_TRUE(host.RunActive());
    EXPECT_EQ(host.WaitCursorDepth(), 2);
    host.EndWaitCursor();
    host.EndWaitCursor();
    host.SetRunActive(false);
    EXPECT_FALSE(host.RunActive());
    EXPECT_EQ(host.WaitCursorDepth(), 0);
    EXPECT_EQ(host.WaitCursorBegins(), 2);
    host.EndWaitCursor();  // one end too many shows up
    EXPECT_EQ(host.WaitCursorDepth(), -1);
}

TEST(HeadlessDialogHost, EndDialogIsRecordedAndReportedOnce) {
    HeadlessDialogHost host;
    std::vector<int> reported;
    host.SetEndListener([&](int result) { reported.push_back(result); });
    EXPECT_FALSE(host.Ended());
    host.EndDialog(plat::kIdCancel);
    host.EndDialog(plat::kIdOk);
    EXPECT_TRUE(host.Ended());
    EXPECT_EQ(host.EndResult(), plat::kIdCancel);
    EXPECT_EQ(reported, std::vector<int>{plat::kIdCancel});
}

TEST(HeadlessDialogHost, RadioGroupsFollowTheTemplate) {
    HeadlessDialogHost host;
    EXPECT_EQ(host.RadioGroupOf(IDC_MODE_NORMAL), (std::vector<int>{IDC_MODE_MIN, IDC_MODE_FULL}));
    EXPECT_EQ(host.RadioGroupOf(IDC_MODE_MIN), (std::vector<int>{IDC_MODE_NORMAL, IDC_MODE_FULL}));
    EXPECT_TRUE(host.RadioGroupOf(IDC_SHORTCUT_PROGRAMS).empty());
    EXPECT_TRUE(host.RadioGroupOf(999).empty());
}

}  // namespace
