#pragma once
// A dialog host without a window: every control of dialog 102 held in memory with its
// text, enabled, visible and check state, combo items and progress. Serves the tests
// and the scripted driver; the product's front-ends implement the same interface over
// real widgets.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_host.h"
#include "res/resource_tables.h"

class HeadlessDialogHost : public plat::DialogHost {
public:
    // A message box as the user saw it, and the answer it got.
    struct MessageRecord {
        std::string text;
        unsigned flags;
        int answer;
    };
    // Supplies the answer to a message box; the default answers OK or Yes.
    using Answerer = std::function<int(const std::string& text, unsigned flags)>;
    // Told once, when the dialog ends, with its result.
    using EndListener = std::function<void(int result)>;
    // Turns a text of the compiled template (UTF-8) into the system's ANSI code page.
    using TemplateTextConverter = std::function<std::string(const std::string& utf8)>;

    // Controls and their initial states come from the compiled dialog template; its
    // texts are taken as they are (the ANSI code page is UTF-8).
    HeadlessDialogHost();
    // For a system whose ANSI code page is not UTF-8.
    explicit HeadlessDialogHost(const TemplateTextConverter& toAnsi);

    void SetAnswerer(Answerer answerer);
    void SetEndListener(EndListener listener);

    // --- plat::DialogHost ---
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    bool IsEnabled(int id) override;
    void Enable(int id, bool enabled) override;
    bool IsVisible(int id) override;
    void Show(int id, bool visible) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void ResetContent(int id) override;
    int AddString(int id, const std::string& item) override;
    int FindStringExact(int id, const std::string& item) override;
    int GetCount(int id) override;
    int GetCurSel(int id) override;
    void SetCurSel(int id, int index) override;
    std::string GetItemText(int id, int index) override;
    void SetProgressRange(int id, int low, int high) override;
    void SetProgressPos(int id, int pos) override;
    int MessageBox(const std::string& text, unsigned flags) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void SetRunActive(bool active) override;
    void EndDialog(int result) override;

    // --- what tests and the driver look at ---
    // The kind of control `id`; none for an unknown id.
    std::optional<res::ControlKind> Kind(int id) const;
    // Control ids in increasing order (controls without an id are not listed).
    std::vector<int> ControlIds() const;
    // The other radio buttons of the group that radio button `id` belongs to, in
    // template order; empty for anything that is not a radio button.
    std::vector<int> RadioGroupOf(int id) const;
    std::vector<std::string> Items(int id) const;
    int ProgressPos(int id) const;
    const std::vector<int>& ProgressHistory() const;  // every position sent, in order
    const std::vector<MessageRecord>& Messages() const;
    // Begins minus ends; negative when the cursor was ended more often than begun.
    int WaitCursorDepth() const;
    int WaitCursorBegins() const;
    bool RunActive() const;
    bool Ended() const;
    int EndResult() const;

private:
    struct Control {
        res::ControlKind kind = res::ControlKind::LText;
        int group = 0;  // index of the template group the control belongs to
        std::string text;
        bool enabled = true;
        bool visible = true;
        int check = 0;
        std::vector<std::string> items;
        int selection = plat::kComboNone;
        int rangeLow = 0;
        int rangeHigh = 100;
        int pos = 0;
    };

    Control* Find(int id);
    const Control* Find(int id) const;
    Control* FindKind(int id, res::ControlKind kind);
    const Control* FindKind(int id, res::ControlKind kind) const;

    std::map<int, Control> m_controls;
    Answerer m_answerer;
    EndListener m_endListener;
    std::vector<int> m_progressHistory;
    std::vector<MessageRecord> m_messages;
    int m_waitDepth = 0;
    int m_waitBegins = 0;
    bool m_runActive = false;
    bool m_ended = false;
    int m_endResult = 0;
};
