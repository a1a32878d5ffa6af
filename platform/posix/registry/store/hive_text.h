#pragma once
// Pieces both registry file formats (REGEDIT4 and Wine's) are read and written with.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace posixplat::reg {

// One line of a file: where it starts, and its text without the line break (and a CR
// before it).
struct TextLine {
    std::size_t start = 0;
    std::string_view text;
};

// The lines of a text in order, counted from 1.
class TextLineReader {
public:
    explicit TextLineReader(std::string_view text) : m_text(text) {}
    bool Next(TextLine* line);
    bool Next(std::string_view* line);
    int number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_number = 0;
};

// `value` as at least `minimumDigits` lower-case hex digits.
void AppendHex(std::string& out, std::uint64_t value, int minimumDigits);

}  // namespace posixplat::reg
