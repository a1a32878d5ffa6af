#include "platform/posix/wine/hive/wine_key_lines.h"

#include <algorithm>
#include <ctime>

#include "platform/posix/registry/store/hive_text.h"
#include "platform/utf16_text.h"
#include "platform/posix/wine/hive/wine_hive_format.h"
#include "platform/posix/wine/hive/wine_name_order.h"
#include "platform/posix/wine/hive/wine_string_escapes.h"

namespace posixplat::reg {
namespace {

constexpr std::uint32_t kTypeString = 1;
constexpr std::uint32_t kTypeExpandString = 2;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeDword = 4;
constexpr std::uint32_t kTypeMultiString = 7;

// FILETIME of 1970-01-01 and its ticks per second.
constexpr std::uint64_t kUnixEpochFileTime = 116444736000000000ull;
constexpr std::uint64_t kTicksPerSecond = 10000000ull;

// Wine wraps hex data once a line has passed this many columns.
constexpr std::size_t kHexWrapColumn = 76;


bool ToUnits(const std::string& name, std::u16string* units, std::string* error) {
    if (plat::Utf8ToUtf16(name, units)) return true;
    if (error) *error = "a name that is not valid UTF-8";
    return false;
}

bool IsStringForm(const HiveValue& value) {
    if (value.type != kTypeString && value.type != kTypeExpandString && value.type != kTypeMultiString) return false;
    const std::string& data = value.data;
    return data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
}

std::u16string UnitsOf(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return units;
}

void AppendValue(std::string& out, std::u16string_view name, const HiveValue& value) {
    std::size_t count;  // columns so far, for the hex wrapping
    if (!name.empty()) {
        out += '"';
        count = 1 + AppendWineEscaped(out, name, '"', '"');
        out += "\"=";
        count += 2;
    } else {
        out += "@=";
        count = 2;
    }
    if (IsStringForm(value)) {
        if (value.type != kTypeString) {
            out += "str(";
            AppendHex(out, value.type, 1);
            out += "):";
        }
        out += '"';
        const std::u16string units = UnitsOf(value.data);
        AppendWineEscaped(out, std::u16string_view(units).substr(0, units.size() - 1), '"', '"');
        out += "\"\n";
        return;
    }
    if (value.type == kTypeDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        out += "dword:";
        AppendHex(out, number, 8);
        out += '\n';
        return;
    }
    const std::size_t before = out.size();
    if (value.type == kTypeBinary) {
        out += "hex:";
    } else {
        out += "hex(";
        AppendHex(out, value.type, 1);
        out += "):";
    }
    count += out.size() - before;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        AppendHex(out, static_cast<unsigned char>(value.data[i]), 2);
        count += 2;
        if (i + 1 < value.data.size()) {
            out += ',';
            if (++count > kHexWrapColumn) {
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    out += '\n';
}

}  // namespace

bool WineWritesSection(const HiveKey& key) { return !key.values().empty() || key.SubKeyCount() == 0; }

bool AppendWineValueLines(std::string& out, const HiveKey& key, std::string* error) {
    struct Named {
        std::u16string name;
        const HiveValue* value;
    };
    std::vector<Named> sorted;
    sorted.reserve(key.values().size());
    for (const HiveValue& value : key.values()) {
        Named named{{}, &value};
        if (!ToUnits(value.name, &named.name, error)) return false;
        sorted.push_back(std::move(named));
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Named& a, const Named& b) { return WineNameLess(a.name, b.name); });
    for (const Named& named : sorted) AppendValue(out, named.name, *named.value);
    return true;
}

bool AppendWineSectionLines(std::string& out, const std::vector<std::string>& path, std::uint64_t fileTime,
                            std::string* error) {
    out += '[';
    std::u16string units;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i != 0) out += "\\\\";
        if (!ToUnits(path[i], &units, error)) return false;
        AppendWineEscaped(out, units, '[', ']');
    }
    // Wine divides a signed tick count and keeps the low 32 bits.
    const auto seconds = static_cast<std::int64_t>(fileTime - kUnixEpochFileTime) /
                         static_cast<std::int64_t>(kTicksPerSecond);
    out += "] ";
    out += std::to_string(static_cast<std::uint32_t>(seconds));
    out += "\n#time=";
    AppendHex(out, fileTime >> 32, 1);
    AppendHex(out, fileTime & 0xFFFFFFFFu, 8);
    out += '\n';
    return true;
}

bool AppendWineKeySection(std::string& out, const std::vector<std::string>& path, const HiveKey& key,
                          std::uint64_t fileTime, std::string_view options, std::string* error) {
    if (!AppendWineSectionLines(out, path, fileTime, error)) return false;
    out += options;
    return AppendWineValueLines(out, key, error);
}

std::uint64_t WineFileTimeNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return kUnixEpochFileTime + static_cast<std::uint64_t>(now.tv_sec) * kTicksPerSecond +
           static_cast<std::uint64_t>(now.tv_nsec) / 100;
}

}  // namespace posixplat::reg
