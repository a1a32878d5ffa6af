// The driver's command reader on any text, line by line: a line it accepts is a command
// the dialog can carry out.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/script_driver/driver_command.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void CheckCommand(const scriptdriver::Command& command) {
    using scriptdriver::CommandKind;
    switch (command.kind) {
    case CommandKind::Select:
        FUZZ_CHECK(!command.text.empty());
        FUZZ_CHECK(!IsBlank(command.text.front()) && !IsBlank(command.text.back()));
        break;
    case CommandKind::Answer:
        FUZZ_CHECK(!command.answers.empty());
        for (int answer : command.answers) FUZZ_CHECK(std::strcmp(scriptdriver::AnswerWord(answer), "?") != 0);
        break;
    default:
        FUZZ_CHECK(command.answers.empty() && command.text.empty());
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (std::getline(lines, line)) {
        scriptdriver::Command command;
        if (scriptdriver::ParseCommandLine(line, &command) == scriptdriver::LineKind::Command) CheckCommand(command);
    }
    return 0;
}
