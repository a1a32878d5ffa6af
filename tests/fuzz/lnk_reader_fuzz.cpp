// The tests' shell link reader on any bytes: it must refuse what it cannot read without
// reading outside the file, and a link it accepts must agree with its own flags.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "tests/support/lnk_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    lnktest::LnkFile link;
    std::string error;
    if (!lnktest::ReadLnk(bytes, &link, &error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(size >= link.headerSize + 4);  // the header and the terminal block at least
    FUZZ_CHECK(link.hasTargetIdList == ((link.linkFlags & 0x01) != 0));
    FUZZ_CHECK(link.hasLinkInfo == ((link.linkFlags & 0x02) != 0));
    FUZZ_CHECK(link.name.has_value() == ((link.linkFlags & 0x04) != 0));
    FUZZ_CHECK(link.workingDirectory.has_value() == ((link.linkFlags & 0x10) != 0));
    if (link.hasLinkInfo) FUZZ_CHECK(link.linkInfoSize <= size - link.headerSize);
    return 0;
}
