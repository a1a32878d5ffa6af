// The hive file reader on any text; a hive it accepts must come back from its own
// serialisation as the same tree, and that serialisation must be stable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/registry/regedit4/regedit4_format.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using posixplat::reg::HiveKey;
using posixplat::reg::HiveValue;

bool SameValue(const HiveValue& a, const HiveValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool SameTree(const HiveKey& a, const HiveKey& b) {
    if (a.name() != b.name() || a.values().size() != b.values().size() || a.SubKeyCount() != b.SubKeyCount()) {
        return false;
    }
    for (std::size_t i = 0; i < a.values().size(); ++i) {
        if (!SameValue(a.values()[i], b.values()[i])) return false;
    }
    for (std::size_t i = 0; i < a.SubKeyCount(); ++i) {
        if (!SameTree(*a.SubKeyAt(i), *b.SubKeyAt(i))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    HiveKey parsed("HKEY_CURRENT_USER");
    std::string error;
    if (!posixplat::reg::ParseHive(text, &parsed, &error)) {
        FUZZ_CHECK(error.rfind("line ", 0) == 0);
        return 0;
    }
    const std::string written = posixplat::reg::SerialiseHive(parsed);
    HiveKey reread("HKEY_CURRENT_USER");
    FUZZ_CHECK(posixplat::reg::ParseHive(written, &reread, &error));
    FUZZ_CHECK(SameTree(parsed, reread));
    FUZZ_CHECK(posixplat::reg::SerialiseHive(reread) == written);
    return 0;
}
