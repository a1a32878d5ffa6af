#include "tools/script_driver/driver_output.h"

#include <cstdio>

#include "host/headless_dialog_host.h"

namespace scriptdriver {

std::string MessageLine(unsigned flags, const std::string& text) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%02X", flags);
    std::string line = "message ";
    line += hex;
    line += ' ';
    for (char c : text) {
        if (c == '\n') line += "\\n";
        else line += c;
    }
    return line;
}

std::string EndLine(int result) {
    if (result == plat::kIdOk) return "end ok";
    if (result == plat::kIdCancel) return "end cancel";
    return "end " + std::to_string(result);
}

std::string QuoteText(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\') quoted += "\\\\";
        else if (c == '"') quoted += "\\\"";
        else if (c == '\n') quoted += "\\n";
        else quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string DumpLine(HeadlessDialogHost& host, int id, const ToUtf8& toUtf8) {
    std::string line = std::to_string(id);
    line += host.IsEnabled(id) ? " enabled=1" : " enabled=0";
    line += host.IsVisible(id) ? " visible=1" : " visible=0";
    const std::optional<res::ControlKind> kind = host.Kind(id);
    if (!kind) return line;
    switch (*kind) {
    case res::ControlKind::Radio:
    case res::ControlKind::Check:
        line += " checked=" + std::to_string(host.GetCheck(id));
        break;
    case res::ControlKind::LText:
    case res::ControlKind::RText:
    case res::ControlKind::GroupBox:
    case res::ControlKind::PushButton:
        line += " text=" + QuoteText(toUtf8(host.GetText(id)));
        break;
    case res::ControlKind::Combo: {
        std::string items;
        for (const std::string& item : host.Items(id)) {
            if (!items.empty()) items += ',';
            items += toUtf8(item);
        }
        const int selected = host.GetCurSel(id);
        line += " items=" + QuoteText(items);
        line += " selected=" + QuoteText(selected == plat::kComboNone ? std::string() : toUtf8(host.GetItemText(id, selected)));
        break;
    }
    case res::ControlKind::Progress:
        line += " pos=" + std::to_string(host.ProgressPos(id));
        break;
    case res::ControlKind::Picture:
        break;
    }
    return line;
}

}  // namespace scriptdriver
