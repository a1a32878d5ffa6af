#include "platform/posix/registry/regedit4/regedit4_format.h"

#include <algorithm>
#include <vector>

#include "platform/posix/registry/store/hive_text.h"
#include "platform/posix/registry/store/registry_names.h"
#include "platform/ascii.h"

namespace posixplat::reg {
namespace {

constexpr std::uint32_t kTypeString = 1;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeDword = 4;
constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kLineWidth = 80;

// ---- writing -------------------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHexByte(std::string& out, unsigned char byte) {
    out += ascii::kLowerHexDigits[byte >> 4];
    out += ascii::kLowerHexDigits[byte & 0x0F];
}


void AppendValue(std::string& out, const HiveValue& value) {
    if (value.name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, value.name);
    }
    out += '=';
    if (IsCleanString(value.type, value.data)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == kTypeDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        out += "dword:";
        AppendHex(out, number, 8);
    } else {
        out += "hex(";
        AppendHex(out, value.type, 1);
        out += "):";
        // Long data continues on indented lines after a trailing backslash, the usual
        // REGEDIT4 wrapping, so that no line grows past 80 columns.
        std::size_t lineStart = out.rfind('\n') + 1;
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            if (i != 0) {
                out += ',';
                if (out.size() - lineStart + 4 > kLineWidth) {  // room for a byte, a comma and the backslash
                    out += "\\\n";
                    lineStart = out.size();
                    out += "  ";
                }
            }
            AppendHexByte(out, static_cast<unsigned char>(value.data[i]));
        }
    }
    out += '\n';
}

void AppendKey(std::string& out, const HiveKey& key, const std::string& path, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out += '[';
        out += path;
        out += "]\n";
        for (const HiveValue& value : key.values()) AppendValue(out, value);
        out += '\n';
    }
    key.ForEachSubKey([&](const HiveKey& sub) { AppendKey(out, sub, path + '\\' + sub.name(), false); });
}

// ---- reading -------------------------------------------------------------------------


bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view TrimLeft(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// 1 to 8 hex digits, the whole of `text`.
bool ParseHexNumber(std::string_view text, std::uint32_t* number) {
    if (text.empty() || text.size() > 8) return false;
    std::uint32_t result = 0;
    for (char c : text) {
        const int digit = ascii::HexValue(c);
        if (digit < 0) return false;
        result = (result << 4) | static_cast<std::uint32_t>(digit);
    }
    *number = result;
    return true;
}

// A quoted string at the start of `*rest`; `*rest` moves past its closing quote.
bool ParseQuoted(std::string_view* rest, std::string* text) {
    std::string_view in = *rest;
    if (in.empty() || in.front() != '"') return false;
    text->clear();
    for (std::size_t i = 1; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '"') {
            *rest = in.substr(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= in.size() || (in[i + 1] != '\\' && in[i + 1] != '"')) return false;
            *text += in[++i];
        } else {
            *text += c;
        }
    }
    return false;
}

// Comma-separated byte pairs; a trailing backslash continues on the next line.
bool ParseHexBytes(std::string_view first, TextLineReader& lines, std::string* data, std::string* error) {
    data->clear();
    std::string_view chunk = first;
    bool expectByte = false;  // after a comma a byte must follow
    for (;;) {
        chunk = TrimLeft(chunk);
        bool continues = false;
        while (!chunk.empty()) {
            if (chunk == "\\") {
                continues = true;
                break;
            }
            if (chunk.size() < 2) return *error = "incomplete byte", false;
            const int high = ascii::HexValue(chunk[0]);
            const int low = ascii::HexValue(chunk[1]);
            if (high < 0 || low < 0) return *error = "bad byte", false;
            *data += static_cast<char>((high << 4) | low);
            chunk = TrimLeft(chunk.substr(2));
            expectByte = false;
            if (chunk.empty()) break;
            if (chunk.front() != ',') return *error = "expected a comma", false;
            chunk = TrimLeft(chunk.substr(1));
            expectByte = true;
        }
        if (!continues) break;
        if (!lines.Next(&chunk)) return *error = "continuation at end of file", false;
    }
    if (expectByte) return *error = "trailing comma", false;
    return true;
}

bool ParseValueLine(std::string_view line, TextLineReader& lines, HiveKey* key, std::string* error) {
    std::string name;
    std::string_view rest = line;
    if (rest.front() == '@') {
        rest.remove_prefix(1);
    } else if (!ParseQuoted(&rest, &name)) {
        return *error = "bad value name", false;
    }
    if (rest.empty() || rest.front() != '=') return *error = "expected '='", false;
    rest.remove_prefix(1);

    std::uint32_t type;
    std::string data;
    std::uint32_t number;
    if (!rest.empty() && rest.front() == '"') {
        if (!ParseQuoted(&rest, &data)) return *error = "bad string", false;
        if (!IsBlank(rest)) return *error = "text after the string", false;
        type = kTypeString;
        data += '\0';
    } else if (rest.substr(0, 6) == "dword:") {
        if (!ParseHexNumber(rest.substr(6), &number)) return *error = "bad dword", false;
        type = kTypeDword;
        for (int i = 0; i < 4; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
    } else if (rest.substr(0, 4) == "hex:") {
        type = kTypeBinary;
        if (!ParseHexBytes(rest.substr(4), lines, &data, error)) return false;
    } else if (rest.substr(0, 4) == "hex(") {
        const std::size_t close = rest.find("):");
        if (close == std::string_view::npos || !ParseHexNumber(rest.substr(4, close - 4), &number)) {
            return *error = "bad hex type", false;
        }
        type = number;
        if (!ParseHexBytes(rest.substr(close + 2), lines, &data, error)) return false;
    } else {
        return *error = "unknown value form", false;
    }
    key->SetValue(name, type, std::move(data));
    return true;
}

HiveKey* ParseSectionLine(std::string_view line, HiveKey* root, std::string* error) {
    if (line.size() < 2 || line.back() != ']') return *error = "unterminated section", nullptr;
    std::string_view path = line.substr(1, line.size() - 2);
    std::size_t slash = path.find('\\');
    if (!NamesEqual(path.substr(0, slash), root->name())) return *error = "section of another hive", nullptr;
    HiveKey* key = root;
    while (slash != std::string_view::npos) {
        path = path.substr(slash + 1);
        slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty()) return *error = "empty key name", nullptr;
        key = &key->AddSubKey(name);
    }
    return key;
}

}  // namespace

bool IsCleanString(std::uint32_t type, std::string_view data) {
    if (type != kTypeString || data.empty() || data.back() != '\0') return false;
    return IsPlainText(data.substr(0, data.size() - 1));
}

std::string SerialiseHive(const HiveKey& root, std::size_t expectedSize) {
    std::string out;
    // A little more than the old size: most changes add a few lines.
    out.reserve(expectedSize + expectedSize / 64);
    out += kHeader;
    out += "\n\n";
    AppendKey(out, root, root.name(), true);
    return out;
}

bool ParseHive(std::string_view text, HiveKey* root, std::string* error) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    TextLineReader lines(text);
    std::string_view line;
    std::string reason;
    auto fail = [&](const std::string& why) {
        // An empty file has no line, but its first is where the header is missing.
        if (error) *error = "line " + std::to_string(std::max(lines.number(), 1)) + ": " + why;
        return false;
    };
    if (!lines.Next(&line) || line != kHeader) return fail("not a REGEDIT4 file");

    HiveKey* current = nullptr;
    while (lines.Next(&line)) {
        if (IsBlank(line) || line.front() == ';') continue;
        if (line.front() == '[') {
            current = ParseSectionLine(line, root, &reason);
            if (!current) return fail(reason);
        } else if (line.front() == '"' || line.front() == '@') {
            if (!current) return fail("value outside a section");
            if (!ParseValueLine(line, lines, current, &reason)) return fail(reason);
        } else {
            return fail("unexpected text");
        }
    }
    return true;
}

namespace {

class Regedit4Format : public HiveFormat {
public:
    bool Parse(std::string_view text, HiveKey* root, std::string* error) override {
        return ParseHive(text, root, error);
    }
    bool Serialise(const HiveKey& root, std::size_t sizeHint, std::string* text, std::string*) override {
        *text = SerialiseHive(root, sizeHint);
        return true;
    }
};

}  // namespace

std::unique_ptr<HiveFormat> MakeRegedit4Format() { return std::make_unique<Regedit4Format>(); }

}  // namespace posixplat::reg
