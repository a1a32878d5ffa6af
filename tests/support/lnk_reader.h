#pragma once
// An independent reader of shell link files (MS-SHLLINK), strict enough to catch a
// writer that gets an offset, a size or a flag wrong: every offset and size is checked
// against the structure holding it, and the file must end with its terminal block.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lnktest {

struct LnkFile {
    std::uint32_t headerSize = 0;
    std::array<unsigned char, 16> clsid{};
    std::uint32_t linkFlags = 0;
    std::uint32_t fileAttributes = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t accessTime = 0;
    std::uint64_t writeTime = 0;
    std::uint32_t fileSize = 0;
    std::int32_t iconIndex = 0;
    std::uint32_t showCommand = 0;
    std::uint16_t hotKey = 0;

    bool hasTargetIdList = false;

    // LinkInfo, present when linkFlags has HasLinkInfo.
    bool hasLinkInfo = false;
    std::uint32_t linkInfoSize = 0;
    std::uint32_t linkInfoHeaderSize = 0;
    std::uint32_t linkInfoFlags = 0;
    std::uint32_t driveType = 0;
    std::uint32_t driveSerialNumber = 0;
    std::string volumeLabel;
    std::string localBasePath;  // raw ANSI bytes
    std::string commonPathSuffix;
    std::optional<std::u16string> localBasePathUnicode;
    std::optional<std::u16string> commonPathSuffixUnicode;

    // StringData, each present when its flag is set.
    std::optional<std::u16string> name;
    std::optional<std::u16string> relativePath;
    std::optional<std::u16string> workingDirectory;
    std::optional<std::u16string> arguments;
    std::optional<std::u16string> iconLocation;

    int extraDataBlocks = 0;
};

// Parses a whole file; false with a reason in `error` when it is malformed.
bool ReadLnk(const std::vector<unsigned char>& bytes, LnkFile* link, std::string* error);

// Reads the file at a host path and parses it.
bool ReadLnkFile(const std::string& hostPath, LnkFile* link, std::string* error);

}  // namespace lnktest
