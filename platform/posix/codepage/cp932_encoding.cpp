#include "platform/posix/codepage/cp932_encoding.h"

#include <algorithm>

#include "platform/posix/codepage/cp932_table.h"

namespace posixplat {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

const Cp932Entry* Find(char16_t unit) {
    const Cp932Entry* end = kCp932Table + kCp932TableSize;
    const Cp932Entry* entry = std::lower_bound(
        kCp932Table, end, unit, [](const Cp932Entry& e, char16_t u) { return e.unit < u; });
    return (entry != end && entry->unit == unit) ? entry : nullptr;
}

// Appends the bytes of one character; false (and nothing appended) when it has none.
bool Append(char16_t unit, std::string* out) {
    if (unit < 0x80) {
        out->push_back(static_cast<char>(unit));
        return true;
    }
    const Cp932Entry* entry = Find(unit);
    if (!entry) return false;
    if (entry->bytes > 0xFF) out->push_back(static_cast<char>(entry->bytes >> 8));
    out->push_back(static_cast<char>(entry->bytes & 0xFF));
    return true;
}

}  // namespace

std::string Utf16ToCp932(const std::u16string& wide) {
    std::string out;
    out.reserve(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
            ++i;  // one character, one replacement
            out.push_back('?');
        } else if (!Append(wide[i], &out)) {
            out.push_back('?');
        }
    }
    return out;
}

}  // namespace posixplat
