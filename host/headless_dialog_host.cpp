#include "host/headless_dialog_host.h"

#include <algorithm>
#include <utility>

#include "host/combo_order.h"

namespace {

bool IsYesNoType(unsigned flags) {
    const unsigned type = flags & plat::kMbTypeMask;
    return type == plat::kMbYesNo || type == 0x03;  // MB_YESNO, MB_YESNOCANCEL
}

}  // namespace

HeadlessDialogHost::HeadlessDialogHost() : HeadlessDialogHost(TemplateTextConverter()) {}

HeadlessDialogHost::HeadlessDialogHost(const TemplateTextConverter& toAnsi) {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    int group = 0;
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const res::ControlTemplate& source = dialog.controls[i];
        if (source.flags & res::kFlagGroup) ++group;
        if (source.id < 0) continue;
        Control control;
        control.kind = source.kind;
        control.group = group;
        const std::string text = source.text ? source.text : "";
        control.text = toAnsi ? toAnsi(text) : text;
        control.visible = (source.flags & res::kFlagHidden) == 0;
        m_controls[source.id] = std::move(control);
    }
}

void HeadlessDialogHost::SetAnswerer(Answerer answerer) { m_answerer = std::move(answerer); }

void HeadlessDialogHost::SetEndListener(EndListener listener) { m_endListener = std::move(listener); }

HeadlessDialogHost::Control* HeadlessDialogHost::Find(int id) {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

const HeadlessDialogHost::Control* HeadlessDialogHost::Find(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

HeadlessDialogHost::Control* HeadlessDialogHost::FindKind(int id, res::ControlKind kind) {
    Control* control = Find(id);
    return control && control->kind == kind ? control : nullptr;
}

const HeadlessDialogHost::Control* HeadlessDialogHost::FindKind(int id, res::ControlKind kind) const {
    const Control* control = Find(id);
    return control && control->kind == kind ? control : nullptr;
}

// --- text, state ---

std::string HeadlessDialogHost::GetText(int id) {
    const Control* control = Find(id);
    if (!control) return {};
    // A combo box shows its selected item in its edit field.
    if (control->kind == res::ControlKind::Combo && control->selection != plat::kComboNone)
        return control->items[static_cast<std::size_t>(control->selection)];
    return control->text;
}

void HeadlessDialogHost::SetText(int id, const std::string& text) {
    if (Control* control = Find(id)) control->text = text;
}

bool HeadlessDialogHost::IsEnabled(int id) {
    const Control* control = Find(id);
    return control && control->enabled;
}

void HeadlessDialogHost::Enable(int id, bool enabled) {
    if (Control* control = Find(id)) control->enabled = enabled;
}

bool HeadlessDialogHost::IsVisible(int id) {
    const Control* control = Find(id);
    return control && control->visible;
}

void HeadlessDialogHost::Show(int id, bool visible) {
    if (Control* control = Find(id)) control->visible = visible;
}

int HeadlessDialogHost::GetCheck(int id) {
    const Control* control = Find(id);
    if (!control) return 0;
    if (control->kind != res::ControlKind::Radio && control->kind != res::ControlKind::Check) return 0;
    return control->check;
}

void HeadlessDialogHost::SetCheck(int id, int state) {
    Control* control = Find(id);
    if (!control) return;
    if (control->kind != res::ControlKind::Radio && control->kind != res::ControlKind::Check) return;
    control->check = state;
}

// --- combo boxes ---

void HeadlessDialogHost::ResetContent(int id) {
    if (Control* combo = FindKind(id, res::ControlKind::Combo)) {
        combo->items.clear();
        combo->selection = plat::kComboNone;
    }
}

int HeadlessDialogHost::AddString(int id, const std::string& item) {
    Control* combo = FindKind(id, res::ControlKind::Combo);
    if (!combo) return plat::kComboNone;
    // Before an equal item, as the system's sorted list places a duplicate.
    auto place = std::lower_bound(combo->items.begin(), combo->items.end(), item,
                                  [](const std::string& a, const std::string& b) { return CompareComboItems(a, b) < 0; });
    const int index = static_cast<int>(place - combo->items.begin());
    combo->items.insert(place, item);
    // The selected item stays selected when an item is inserted before it.
    if (combo->selection != plat::kComboNone && index <= combo->selection) ++combo->selection;
    return index;
}

int HeadlessDialogHost::FindStringExact(int id, const std::string& item) {
    const Control* combo = FindKind(id, res::ControlKind::Combo);
    if (!combo) return plat::kComboNone;
    for (std::size_t i = 0; i < combo->items.size(); ++i) {
        if (CompareComboItems(combo->items[i], item) == 0) return static_cast<int>(i);
    }
    return plat::kComboNone;
}

int HeadlessDialogHost::GetCount(int id) {
    const Control* combo = FindKind(id, res::ControlKind::Combo);
    return combo ? static_cast<int>(combo->items.size()) : 0;
}

int HeadlessDialogHost::GetCurSel(int id) {
    const Control* combo = FindKind(id, res::ControlKind::Combo);
    return combo ? combo->selection : plat::kComboNone;
}

void HeadlessDialogHost::SetCurSel(int id, int index) {
    Control* combo = FindKind(id, res::ControlKind::Combo);
    if (!combo) return;
    // -1 or an index past the end clears the selection, as CB_SETCURSEL does.
    const bool valid = index >= 0 && index < static_cast<int>(combo->items.size());
    combo->selection = valid ? index : plat::kComboNone;
}

std::string HeadlessDialogHost::GetItemText(int id, int index) {
    const Control* combo = FindKind(id, res::ControlKind::Combo);
    if (!combo || index < 0 || index >= static_cast<int>(combo->items.size())) return {};
    return combo->items[static_cast<std::size_t>(index)];
}

// --- progress bar ---

void HeadlessDialogHost::SetProgressRange(int id, int low, int high) {
    if (Control* bar = FindKind(id, res::ControlKind::Progress)) {
        bar->rangeLow = low;
        bar->rangeHigh = high;
        bar->pos = std::clamp(bar->pos, std::min(low, high), std::max(low, high));
    }
}

void HeadlessDialogHost::SetProgressPos(int id, int pos) {
    Control* bar = FindKind(id, res::ControlKind::Progress);
    if (!bar) return;
    m_progressHistory.push_back(pos);
    // The bar shows a position outside its range at the nearer end.
    bar->pos = std::clamp(pos, std::min(bar->rangeLow, bar->rangeHigh), std::max(bar->rangeLow, bar->rangeHigh));
}

// --- message boxes, cursor, lifetime ---

int HeadlessDialogHost::MessageBox(const std::string& text, unsigned flags) {
    int answer = IsYesNoType(flags) ? plat::kIdYes : plat::kIdOk;
    if (m_answerer) answer = m_answerer(text, flags);
    m_messages.push_back({text, flags, answer});
    return answer;
}

void HeadlessDialogHost::BeginWaitCursor() {
    ++m_waitDepth;
    ++m_waitBegins;
}

void HeadlessDialogHost::EndWaitCursor() { --m_waitDepth; }

void HeadlessDialogHost::SetRunActive(bool active) { m_runActive = active; }

void HeadlessDialogHost::EndDialog(int result) {
    if (m_ended) return;
    m_ended = true;
    m_endResult = result;
    if (m_endListener) m_endListener(result);
}

// --- inspection ---

std::optional<res::ControlKind> HeadlessDialogHost::Kind(int id) const {
    const Control* control = Find(id);
    if (!control) return std::nullopt;
    return control->kind;
}

std::vector<int> HeadlessDialogHost::ControlIds() const {
    std::vector<int> ids;
    ids.reserve(m_controls.size());
    for (const auto& [id, control] : m_controls) ids.push_back(id);
    return ids;
}

std::vector<int> HeadlessDialogHost::RadioGroupOf(int id) const {
    std::vector<int> others;
    const Control* radio = FindKind(id, res::ControlKind::Radio);
    if (!radio) return others;
    // Template order, not id order: walk the template again.
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        const int otherId = dialog.controls[i].id;
        if (otherId == id || otherId < 0) continue;
        const Control* other = FindKind(otherId, res::ControlKind::Radio);
        if (other && other->group == radio->group) others.push_back(otherId);
    }
    return others;
}

std::vector<std::string> HeadlessDialogHost::Items(int id) const {
    const Control* combo = FindKind(id, res::ControlKind::Combo);
    return combo ? combo->items : std::vector<std::string>();
}

int HeadlessDialogHost::ProgressPos(int id) const {
    const Control* bar = FindKind(id, res::ControlKind::Progress);
    return bar ? bar->pos : 0;
}

const std::vector<int>& HeadlessDialogHost::ProgressHistory() const { return m_progressHistory; }

const std::vector<HeadlessDialogHost::MessageRecord>& HeadlessDialogHost::Messages() const { return m_messages; }

int HeadlessDialogHost::WaitCursorDepth() const { return m_waitDepth; }

int HeadlessDialogHost::WaitCursorBegins() const { return m_waitBegins; }

bool HeadlessDialogHost::RunActive() const { return m_runActive; }

bool HeadlessDialogHost::Ended() const { return m_ended; }

int HeadlessDialogHost::EndResult() const { return m_endResult; }
