#pragma once
// Where the install journal's lines go: a bounded file for the product, memory for tests.
#include <string>

namespace journal {

class JournalOutput {
public:
    virtual ~JournalOutput() = default;
    // Appends one line (UTF-8, without its line break). Never fails the caller: what
    // cannot be written is lost.
    virtual void Append(const std::string& line) = 0;
    // Puts every line appended so far where it stays, for outputs that hold lines back.
    virtual void Flush() {}
};

}  // namespace journal
