// The Wine registry file reader on any text. A file it accepts must come back byte for
// byte when nothing changed; after a change (a key added, a value set, a key deleted) the
// text written must read back as the changed tree, and the layout handed out for the
// next write must give that same text again for that tree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/registry/store/registry_names.h"
#include "platform/posix/wine/hive/wine_hive_format.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using posixplat::reg::HiveKey;
using posixplat::reg::HiveValue;
using posixplat::reg::WineHiveLayout;

constexpr std::uint64_t kFileTime = 0x01DD8664034D5687ull;

// Names are compared ignoring case: a key first named by a section that is then dropped
// is named by the next one when read again.
bool SameTree(const HiveKey& a, const HiveKey& b) {
    if (!posixplat::reg::NamesEqual(a.name(), b.name()) || a.values().size() != b.values().size() ||
        a.SubKeyCount() != b.SubKeyCount()) {
        return false;
    }
    for (const HiveValue& value : a.values()) {
        const HiveValue* other = b.FindValue(value.name);
        if (!other || other->type != value.type || other->data != value.data) return false;
    }
    for (std::size_t i = 0; i < a.SubKeyCount(); ++i) {
        const HiveKey* other = b.FindSubKey(a.SubKeyAt(i)->name());
        if (!other || !SameTree(*a.SubKeyAt(i), *other)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    HiveKey root("HKEY_CURRENT_USER");
    WineHiveLayout layout;
    std::string error;
    if (!posixplat::reg::ParseWineHive(text, &root, &layout, &error)) {
        FUZZ_CHECK(error.rfind("line ", 0) == 0);
        return 0;
    }
    std::string written;
    FUZZ_CHECK(posixplat::reg::SerialiseWineHive(root, layout, kFileTime, &written, nullptr, &error));
    FUZZ_CHECK(written == text);

    root.AddSubKey("Fuzz").AddSubKey("新しいキー").SetValue("値", 1, std::string("\x24\x50\x0a\x00\x00\x00", 6));
    if (!layout.blocks.empty()) {
        HiveKey* first = posixplat::reg::FindKey(root, layout.blocks.front().path);
        first->SetValue("fuzz", 3, std::string("\x01\x00\xff", 3));
        const auto& path = layout.blocks.back().path;
        if (path.size() > 1) {
            posixplat::reg::FindKey(root, {path.begin(), path.end() - 1})->RemoveSubKey(path.back());
        }
    }
    WineHiveLayout next;
    FUZZ_CHECK(posixplat::reg::SerialiseWineHive(root, layout, kFileTime, &written, &next, &error));
    HiveKey reread("HKEY_CURRENT_USER");
    WineHiveLayout rereadLayout;
    FUZZ_CHECK(posixplat::reg::ParseWineHive(written, &reread, &rereadLayout, &error));
    FUZZ_CHECK(SameTree(root, reread));
    std::string again;
    FUZZ_CHECK(posixplat::reg::SerialiseWineHive(reread, next, kFileTime, &again, nullptr, &error));
    FUZZ_CHECK(again == written);
    return 0;
}
