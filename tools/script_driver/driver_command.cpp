#include "tools/script_driver/driver_command.h"

#include <algorithm>
#include <optional>

#include "platform/dialog_host.h"
#include "res/resource_tables.h"

namespace scriptdriver {
namespace {

// The kind of the dialog's control `id`, as its template says; none for an unknown id.
std::optional<res::ControlKind> KindOf(int id) {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        if (id >= 0 && dialog.controls[i].id == id) return dialog.controls[i].kind;
    }
    return std::nullopt;
}

// Controls a user can click: the radio buttons, the check boxes and the push buttons.
// Clicking anything else is not something the dialog offers.
bool IsClickable(int id) {
    const std::optional<res::ControlKind> kind = KindOf(id);
    return kind == res::ControlKind::Radio || kind == res::ControlKind::Check || kind == res::ControlKind::PushButton;
}

bool IsSelectable(int id) { return KindOf(id) == res::ControlKind::Combo; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A control id: decimal digits only, no sign, no leading noise.
bool ParseId(const std::string& word, int* id) {
    if (word.empty() || word.size() > 6) return false;
    if (!std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    *id = std::stoi(word);
    return true;
}

bool ParseAnswer(const std::string& word, int* answer) {
    if (word == "yes") *answer = plat::kIdYes;
    else if (word == "no") *answer = plat::kIdNo;
    else if (word == "ok") *answer = plat::kIdOk;
    else if (word == "cancel") *answer = plat::kIdCancel;
    else return false;
    return true;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string::size_type pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        const std::string::size_type start = pos;
        while (pos < text.size() && !IsBlank(text[pos])) ++pos;
        if (pos > start) words.push_back(text.substr(start, pos - start));
    }
    return words;
}

}  // namespace

LineKind ParseCommandLine(const std::string& rawLine, Command* command) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') return LineKind::Skip;

    Command parsed;
    const std::string& verb = words[0];
    if (verb == "start" || verb == "enter" || verb == "dump") {
        if (words.size() != 1) return LineKind::Unreadable;
        parsed.kind = verb == "start" ? CommandKind::Start : verb == "enter" ? CommandKind::Enter : CommandKind::Dump;
    } else if (verb == "click") {
        if (words.size() != 2 || !ParseId(words[1], &parsed.id) || !IsClickable(parsed.id)) return LineKind::Unreadable;
        parsed.kind = CommandKind::Click;
    } else if (verb == "select") {
        if (words.size() < 3 || !ParseId(words[1], &parsed.id) || !IsSelectable(parsed.id)) return LineKind::Unreadable;
        // The item is the rest of the line after the id, blanks inside it kept.
        std::string::size_type pos = line.find(words[1], line.find(verb) + verb.size()) + words[1].size();
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        std::string::size_type end = line.size();
        while (end > pos && IsBlank(line[end - 1])) --end;
        parsed.text = line.substr(pos, end - pos);
        parsed.kind = CommandKind::Select;
    } else if (verb == "answer") {
        if (words.size() < 2) return LineKind::Unreadable;
        for (std::size_t i = 1; i < words.size(); ++i) {
            int answer = 0;
            if (!ParseAnswer(words[i], &answer)) return LineKind::Unreadable;
            parsed.answers.push_back(answer);
        }
        parsed.kind = CommandKind::Answer;
    } else {
        return LineKind::Unreadable;
    }
    *command = std::move(parsed);
    return LineKind::Command;
}

const char* AnswerWord(int answer) {
    switch (answer) {
    case plat::kIdYes: return "yes";
    case plat::kIdNo: return "no";
    case plat::kIdOk: return "ok";
    case plat::kIdCancel: return "cancel";
    default: return "?";
    }
}

}  // namespace scriptdriver
