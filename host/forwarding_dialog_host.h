#pragma once
// A dialog host that passes every call on to another one: the base of hosts that watch
// or stand in for a few calls of a real window and leave the rest to it.
#include "platform/dialog_host.h"

namespace plat {

class ForwardingDialogHost : public DialogHost {
public:
    explicit ForwardingDialogHost(DialogHost& inner) : m_inner(inner) {}

    std::string GetText(int id) override { return m_inner.GetText(id); }
    void SetText(int id, const std::string& text) override { m_inner.SetText(id, text); }
    bool IsEnabled(int id) override { return m_inner.IsEnabled(id); }
    void Enable(int id, bool enabled) override { m_inner.Enable(id, enabled); }
    bool IsVisible(int id) override { return m_inner.IsVisible(id); }
    void Show(int id, bool visible) override { m_inner.Show(id, visible); }
    int GetCheck(int id) override { return m_inner.GetCheck(id); }
    void SetCheck(int id, int state) override { m_inner.SetCheck(id, state); }
    void ResetContent(int id) override { m_inner.ResetContent(id); }
    int AddString(int id, const std::string& item) override { return m_inner.AddString(id, item); }
    int FindStringExact(int id, const std::string& item) override { return m_inner.FindStringExact(id, item); }
    int GetCount(int id) override { return m_inner.GetCount(id); }
    int GetCurSel(int id) override { return m_inner.GetCurSel(id); }
    void SetCurSel(int id, int index) override { m_inner.SetCurSel(id, index); }
    std::string GetItemText(int id, int index) override { return m_inner.GetItemText(id, index); }
    void SetProgressRange(int id, int low, int high) override { m_inner.SetProgressRange(id, low, high); }
    void SetProgressPos(int id, int pos) override { m_inner.SetProgressPos(id, pos); }
    int MessageBox(const std::string& text, unsigned flags) override { return m_inner.MessageBox(text, flags); }
    void BeginWaitCursor() override { m_inner.BeginWaitCursor(); }
    void EndWaitCursor() override { m_inner.EndWaitCursor(); }
    void SetRunActive(bool active) override { m_inner.SetRunActive(active); }
    void EndDialog(int result) override { m_inner.EndDialog(result); }

protected:
    DialogHost& inner() { return m_inner; }

private:
    DialogHost& m_inner;
};

}  // namespace plat
