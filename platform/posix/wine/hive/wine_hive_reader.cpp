// Reading a Wine registry file. Wine's own loader skips a line it cannot use and goes
// on; this reader refuses the whole file instead, so that a file we would misread is
// never written back.
#include <algorithm>

#include "platform/posix/registry/store/hive_text.h"
#include "platform/utf16_text.h"
#include "platform/posix/wine/hive/wine_hive_format.h"
#include "platform/posix/wine/hive/wine_key_lines.h"
#include "platform/posix/wine/hive/wine_string_escapes.h"
#include "platform/ascii.h"

namespace posixplat::reg {
namespace {

constexpr std::string_view kFirstLine = "WINE REGISTRY Version 2";
// Wine cannot create a key with a longer name, and drops the values that follow it.
constexpr std::size_t kMaxKeyNameUnits = 256;
// The registry's own limit on depth; it also bounds the recursion over the tree.
constexpr std::size_t kMaxKeyDepth = 512;

// What C's isspace accepts in the "C" locale, as Wine's loader skips it.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    return text.substr(i);
}

// 1 to `maxDigits` hex digits at the start of `*text`, which moves past them.
bool TakeHexNumber(std::string_view* text, std::size_t maxDigits, std::uint64_t* number) {
    std::size_t i = 0;
    std::uint64_t value = 0;
    while (i < text->size() && ascii::IsHexDigit((*text)[i])) {
        if (i == maxDigits) return false;
        value = (value << 4) | static_cast<std::uint64_t>(ascii::HexValue((*text)[i]));
        ++i;
    }
    if (i == 0) return false;
    text->remove_prefix(i);
    *number = value;
    return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }


std::string BytesOf(const std::u16string& units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class Reader {
public:
    Reader(std::string_view text, HiveKey* root, WineHiveLayout* layout)
        : m_text(text), m_lines(text), m_root(root), m_layout(layout) {}

    bool Run(std::string* error) {
        std::string reason;
        if (!ReadAll(&reason)) {
            if (error) *error = "line " + std::to_string(std::max(1, m_lines.number())) + ": " + reason;
            return false;
        }
        return true;
    }

private:
    bool ReadAll(std::string* reason) {
        if (const std::size_t zero = m_text.find('\0'); zero != std::string_view::npos) {
            TextLine line;
            while (m_lines.Next(&line) && line.start + line.text.size() < zero) {
            }
            return *reason = "a zero byte", false;
        }
        TextLine line;
        if (!m_lines.Next(&line) || line.text != kFirstLine) return *reason = "not a Wine registry file", false;

        std::size_t blankStart = std::string_view::npos;  // where the blank lines before this one began
        while (m_lines.Next(&line)) {
            const std::string_view rest = SkipSpace(line.text);
            if (rest.empty()) {
                if (blankStart == std::string_view::npos) blankStart = line.start;
                continue;
            }
            const std::size_t blockStart = blankStart == std::string_view::npos ? line.start : blankStart;
            blankStart = std::string_view::npos;
            bool ok = true;
            switch (rest.front()) {
            case '[':
                EndBlock(blockStart);
                ok = ReadSection(rest.substr(1), reason);
                break;
            case '@':
            case '"':
                if (!m_key) return *reason = "a value before the first key", false;
                ok = ReadValue(rest, reason);
                break;
            case '#':
                ok = m_key ? ReadKeyOption(rest, reason) : ReadGlobalOption(rest, reason);
                break;
            case ';':
                break;
            default:
                return *reason = "not a key, a value, an option or a comment", false;
            }
            if (!ok) return false;
        }
        EndBlock(m_text.size());
        return RecordContents(reason);
    }

    // The block (or the header) that runs up to `end` is complete.
    void EndBlock(std::size_t end) {
        std::string_view done = m_text.substr(m_blockStart, end - m_blockStart);
        if (m_layout->blocks.empty()) {
            m_layout->header = std::string(done);
        } else {
            m_layout->blocks.back().text = std::string(done);
        }
        m_blockStart = end;
    }

    bool ReadSection(std::string_view rest, std::string* reason) {
        std::u16string units;
        std::size_t consumed;
        if (!ParseWineEscaped(rest, ']', &units, &consumed)) return *reason = "a key name without its ']'", false;
        std::string_view after = SkipSpace(rest.substr(consumed));
        while (!after.empty() && after.front() >= '0' && after.front() <= '9') after.remove_prefix(1);
        if (!SkipSpace(after).empty()) return *reason = "text after the key's time", false;

        WineKeyBlock block;
        HiveKey* key = m_root;
        std::size_t begin = 0;
        while (!units.empty() && begin <= units.size()) {
            std::size_t slash = units.find(u'\\', begin);
            if (slash == std::u16string::npos) slash = units.size();
            const std::u16string name = units.substr(begin, slash - begin);
            if (name.empty()) return *reason = "an empty key name", false;
            if (name.size() > kMaxKeyNameUnits) return *reason = "a key name longer than 256 characters", false;
            if (name.find(u'\0') != std::u16string::npos) return *reason = "a zero character in a key name", false;
            std::string utf8;
            if (!plat::Utf16ToUtf8(name, &utf8)) return *reason = "a key name that is not valid UTF-16", false;
            if (block.path.size() == kMaxKeyDepth) return *reason = "a key deeper than 512 levels", false;
            key = &key->AddSubKey(utf8);
            block.path.push_back(std::move(utf8));
            begin = slash + 1;
        }
        m_layout->blocks.push_back(std::move(block));
        m_key = key;
        return true;
    }

    bool ReadValue(std::string_view line, std::string* reason) {
        std::string name;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            std::u16string units;
            std::size_t consumed;
            if (!ParseWineEscaped(rest.substr(1), '"', &units, &consumed)) {
                return *reason = "a value name without its closing quote", false;
            }
            if (!plat::Utf16ToUtf8(units, &name)) return *reason = "a value name that is not valid UTF-16", false;
            rest.remove_prefix(1 + consumed);
        }
        rest = SkipSpace(rest);
        if (rest.empty() || rest.front() != '=') return *reason = "no '=' after the value name", false;
        rest = SkipSpace(rest.substr(1));

        static constexpr struct {
            std::string_view tag;
            std::uint32_t type;
        } kStringForms[] = {{"\"", 1}, {"str:\"", 1}, {"str(2):\"", 2}, {"str(7):\"", 7}};
        for (const auto& form : kStringForms) {
            if (!StartsWith(rest, form.tag)) continue;
            std::u16string units;
            std::size_t consumed;
            rest.remove_prefix(form.tag.size());
            if (!ParseWineEscaped(rest, '"', &units, &consumed)) return *reason = "a string without its closing quote", false;
            if (!SkipSpace(rest.substr(consumed)).empty()) return *reason = "text after the string", false;
            units.push_back(u'\0');
            m_key->SetValue(name, form.type, BytesOf(units));
            return true;
        }
        std::uint64_t number;
        if (StartsWith(rest, "dword:")) {
            rest.remove_prefix(6);
            if (!TakeHexNumber(&rest, 8, &number) || !SkipSpace(rest).empty()) return *reason = "a bad dword", false;
            std::string data;
            for (int i = 0; i < 4; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
            m_key->SetValue(name, 4, std::move(data));
            return true;
        }
        std::uint32_t type;
        if (StartsWith(rest, "hex:")) {
            type = 3;
            rest.remove_prefix(4);
        } else if (StartsWith(rest, "hex(")) {
            rest.remove_prefix(4);
            if (!TakeHexNumber(&rest, 8, &number) || !StartsWith(rest, "):")) return *reason = "a bad hex(type)", false;
            type = static_cast<std::uint32_t>(number);
            rest.remove_prefix(2);
        } else {
            return *reason = "an unknown kind of value", false;
        }
        std::string data;
        if (!ReadHexBytes(rest, &data, reason)) return false;
        m_key->SetValue(name, type, std::move(data));
        return true;
    }

    // Bytes of any number of hex digits each, as Wine reads them: separated by commas or
    // spaces, a trailing comma allowed, a backslash at the end of a line continuing it.
    bool ReadHexBytes(std::string_view rest, std::string* data, std::string* reason) {
        for (;;) {
            rest = SkipSpace(rest);
            while (!rest.empty() && ascii::IsHexDigit(rest.front())) {
                unsigned value = 0;
                while (!rest.empty() && ascii::IsHexDigit(rest.front())) {
                    value = value * 16 + static_cast<unsigned>(ascii::HexValue(rest.front()));
                    if (value > 0xFF) return *reason = "a byte above ff", false;
                    rest.remove_prefix(1);
                }
                *data += static_cast<char>(value);
                rest = SkipSpace(rest);
                if (!rest.empty() && rest.front() == ',') rest = SkipSpace(rest.substr(1));
            }
            if (rest.empty()) return true;
            if (rest.front() != '\\' || !SkipSpace(rest.substr(1)).empty()) return *reason = "bad hex data", false;
            TextLine next;
            if (!m_lines.Next(&next)) return *reason = "hex data continued past the end of the file", false;
            rest = next.text;
        }
    }

    bool ReadKeyOption(std::string_view line, std::string* reason) {
        if (StartsWith(line, "#time=")) {
            std::string_view rest = line.substr(6);
            std::uint64_t time;
            if (!TakeHexNumber(&rest, 16, &time) || !SkipSpace(rest).empty()) return *reason = "a bad #time", false;
        } else if (StartsWith(line, "#class=")) {
            std::u16string units;
            std::size_t consumed;
            const std::string_view rest = line.substr(7);
            if (rest.empty() || rest.front() != '"' || !ParseWineEscaped(rest.substr(1), '"', &units, &consumed) ||
                !SkipSpace(rest.substr(1 + consumed)).empty()) {
                return *reason = "a bad #class", false;
            }
        }
        return true;
    }

    // Wine stops reading a file of the other architecture (or of none it knows).
    bool ReadGlobalOption(std::string_view line, std::string* reason) {
        if (StartsWith(line, "#arch=") && line != "#arch=win32" && line != "#arch=win64") {
            return *reason = "an unknown #arch", false;
        }
        return true;
    }

    bool RecordContents(std::string* reason) {
        for (WineKeyBlock& block : m_layout->blocks) {
            const HiveKey* key = FindKey(*m_root, block.path);
            if (!key || !AppendWineValueLines(block.contents, *key, reason)) return false;
        }
        return true;
    }

    std::string_view m_text;
    TextLineReader m_lines;
    HiveKey* m_root;
    WineHiveLayout* m_layout;
    HiveKey* m_key = nullptr;  // of the section being read
    std::size_t m_blockStart = 0;
};

}  // namespace

bool ParseWineHive(std::string_view text, HiveKey* root, WineHiveLayout* layout, std::string* error) {
    *layout = WineHiveLayout{};
    return Reader(text, root, layout).Run(error);
}

}  // namespace posixplat::reg
