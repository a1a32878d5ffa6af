// The code-page text helpers on any bytes, under code page 932 and UTF-8: they step
// over whole characters without running past the end, agree with each other about
// where characters start, find the characters the platform's code page 932 encoder
// writes, and treat valid UTF-8 as the registry's validator does.
//
// Input: byte 0 picks the code page (low bit: 932 or UTF-8), byte 1 is the character to
// look for, bytes 2 and 3 the offset and length of a needle cut from the text, the rest
// is the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/mbcs_text.h"
#include "platform/posix/codepage/cp932_encoding.h"
#include "platform/posix/registry/store/registry_names.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using size_type = std::string::size_type;

int Sign(int value) { return (value > 0) - (value < 0); }

// Where each character starts, by stepping with CharLength.
std::vector<size_type> CharacterStarts(plat::CodePage codePage, const std::string& text) {
    const size_type longest = codePage == plat::kCodePage932 ? 2 : 4;
    std::vector<size_type> starts;
    for (size_type pos = 0; pos < text.size();) {
        const size_type length = mbcs::CharLength(codePage, text, pos);
        FUZZ_CHECK(length >= 1 && length <= longest && pos + length <= text.size());
        starts.push_back(pos);
        pos += length;
    }
    FUZZ_CHECK(mbcs::CharLength(codePage, text, text.size()) == 0);
    return starts;
}

bool IsStart(const std::vector<size_type>& starts, size_type pos) {
    return std::binary_search(starts.begin(), starts.end(), pos);
}

// A single-byte character `ch` at `pos`.
bool IsCharacter(plat::CodePage codePage, const std::string& text, size_type pos, char ch) {
    return text[pos] == ch && mbcs::CharLength(codePage, text, pos) == 1;
}

size_type UtfSequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

// The text read as UTF-16 code units, each encoded on its own by the platform's code
// page 932 table: stepping through the whole encoding must find exactly those characters.
void CheckAgainstEncoder(const std::string& text) {
    std::string encoded;
    std::vector<size_type> expected;
    for (size_type i = 0; i + 1 < text.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(text[i]) |
                                                    static_cast<unsigned char>(text[i + 1]) << 8);
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const std::string character = posixplat::Utf16ToCp932(std::u16string(1, unit));
        FUZZ_CHECK(character.size() == 1 || character.size() == 2);
        expected.push_back(encoded.size());
        encoded += character;
    }
    FUZZ_CHECK(CharacterStarts(plat::kCodePage932, encoded) == expected);
}

void CheckFind(plat::CodePage codePage, const std::string& text, const std::vector<size_type>& starts, char ch,
               size_type start) {
    const size_type first = mbcs::Find(codePage, text, ch);
    const size_type last = mbcs::FindLast(codePage, text, ch);
    FUZZ_CHECK((first == mbcs::npos) == (last == mbcs::npos));
    if (first == mbcs::npos) return;
    FUZZ_CHECK(IsStart(starts, first) && IsCharacter(codePage, text, first, ch));
    FUZZ_CHECK(IsStart(starts, last) && IsCharacter(codePage, text, last, ch));
    FUZZ_CHECK(first <= last);
    FUZZ_CHECK(mbcs::Find(codePage, text, ch, last + 1) == mbcs::npos);
    const size_type from = mbcs::Find(codePage, text, ch, start);
    if (from != mbcs::npos) FUZZ_CHECK(from >= start && from <= last && IsStart(starts, from));
    if (start <= first) FUZZ_CHECK(from == first);
    if (start <= last) FUZZ_CHECK(from != mbcs::npos);
}

void CheckTrimRight(plat::CodePage codePage, const std::string& text, char ch) {
    std::string trimmed = text;
    mbcs::TrimRight(codePage, trimmed, ch);
    FUZZ_CHECK(text.compare(0, trimmed.size(), trimmed) == 0);
    FUZZ_CHECK(text.find_first_not_of(ch, trimmed.size()) == std::string::npos);
    if (!trimmed.empty()) {
        const std::vector<size_type> starts = CharacterStarts(codePage, trimmed);
        FUZZ_CHECK(!IsCharacter(codePage, trimmed, starts.back(), ch));
    }
    std::string again = trimmed;
    mbcs::TrimRight(codePage, again, ch);
    FUZZ_CHECK(again == trimmed);
}

void CheckCase(plat::CodePage codePage, const std::string& text, const std::string& other) {
    const std::string lowered = mbcs::ToLower(codePage, text);
    FUZZ_CHECK(lowered.size() == text.size());
    for (size_type i = 0; i < text.size(); ++i) {
        if (lowered[i] != text[i]) FUZZ_CHECK(text[i] >= 'A' && text[i] <= 'Z' && lowered[i] == text[i] + 32);
    }
    FUZZ_CHECK(mbcs::ToLower(codePage, lowered) == lowered);
    FUZZ_CHECK(mbcs::CompareNoCase(codePage, text, lowered) == 0);
    FUZZ_CHECK(mbcs::Compare(codePage, text, text) == 0);
    FUZZ_CHECK(Sign(mbcs::Compare(codePage, text, other)) == -Sign(mbcs::Compare(codePage, other, text)));
    FUZZ_CHECK(Sign(mbcs::CompareNoCase(codePage, text, other)) == -Sign(mbcs::CompareNoCase(codePage, other, text)));
    FUZZ_CHECK((mbcs::Compare(codePage, text, other) == 0) == (text == other));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const plat::CodePage codePage = (data[0] & 1) ? plat::kCodePage932 : plat::kCodePageUtf8;
    const char ch = static_cast<char>(data[1]);
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    const size_type offset = text.empty() ? 0 : data[2] % (text.size() + 1);
    const std::string needle = text.substr(offset, data[3] % (text.size() - offset + 1));

    const std::vector<size_type> starts = CharacterStarts(codePage, text);
    for (size_type i = 0; i < starts.size(); ++i) {
        FUZZ_CHECK(mbcs::IsLeadByte(codePage, static_cast<unsigned char>(text[starts[i]])) ||
                   mbcs::CharLength(codePage, text, starts[i]) == 1);
    }
    if (codePage == plat::kCodePageUtf8 && posixplat::reg::IsValidUtf8(text)) {
        for (size_type pos : starts) {
            FUZZ_CHECK(mbcs::CharLength(codePage, text, pos) ==
                       UtfSequenceLength(static_cast<unsigned char>(text[pos])));
        }
    }

    if (codePage == plat::kCodePage932) CheckAgainstEncoder(text);

    CheckFind(codePage, text, starts, ch, offset);

    const size_type found = mbcs::FindText(codePage, text, needle);
    if (needle.empty()) {
        FUZZ_CHECK(found == 0);
    } else if (found != mbcs::npos) {
        FUZZ_CHECK(IsStart(starts, found) && text.compare(found, needle.size(), needle) == 0);
    }
    if (IsStart(starts, offset)) FUZZ_CHECK(found != mbcs::npos && found <= offset);

    CheckTrimRight(codePage, text, ch);
    CheckTrimRight(codePage, text, '\\');
    CheckCase(codePage, text, needle);
    return 0;
}
