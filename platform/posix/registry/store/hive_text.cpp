#include "platform/posix/registry/store/hive_text.h"

#include "platform/ascii.h"

namespace posixplat::reg {

bool TextLineReader::Next(TextLine* line) {
    if (m_pos >= m_text.size()) return false;
    std::size_t end = m_text.find('\n', m_pos);
    if (end == std::string_view::npos) end = m_text.size();
    line->start = m_pos;
    line->text = m_text.substr(m_pos, end - m_pos);
    if (!line->text.empty() && line->text.back() == '\r') line->text.remove_suffix(1);
    m_pos = end + 1;
    ++m_number;
    return true;
}

bool TextLineReader::Next(std::string_view* line) {
    TextLine found;
    if (!Next(&found)) return false;
    *line = found.text;
    return true;
}

void AppendHex(std::string& out, std::uint64_t value, int minimumDigits) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = ascii::kLowerHexDigits[value & 0x0F];
        value >>= 4;
    } while (value != 0 || count < minimumDigits);
    while (count > 0) out += digits[--count];
}

}  // namespace posixplat::reg
