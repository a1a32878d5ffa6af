#pragma once
// The driver's command language: one command a line, read from UTF-8 text.
#include <string>
#include <vector>

namespace scriptdriver {

enum class CommandKind { Start, Select, Click, Enter, Answer, Dump };

struct Command {
    CommandKind kind = CommandKind::Start;
    int id = 0;                // select, click
    std::string text;          // select: the item, as written (UTF-8)
    std::vector<int> answers;  // answer: kIdYes, kIdNo, kIdOk or kIdCancel, in order
};

enum class LineKind {
    Command,     // `command` holds it
    Skip,        // blank or a comment
    Unreadable,  // not a command of the language
};

// Reads one line (without its line break; a trailing carriage return is ignored).
LineKind ParseCommandLine(const std::string& line, Command* command);

// The word for a message box answer ("yes", "no", "ok", "cancel"); "?" for others.
const char* AnswerWord(int answer);

}  // namespace scriptdriver
