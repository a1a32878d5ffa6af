#include "platform/posix/drives/optical_mounts.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace posixplat {
namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes space, tab, newline and backslash in mount fields as \ooo.
std::string DecodeMountField(const std::string& field) {
    std::string out;
    for (std::string::size_type i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value > 0 && value < 256) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool IsOpticalFileSystem(const std::string& type) {
    return type == "iso9660" || type == "udf" || type == "fuse.fuseiso";
}

std::string ReadWhole(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::vector<OpticalMount> ParseOpticalMountEntries(const std::string& mountInfo) {
    std::vector<OpticalMount> mounts;
    std::istringstream lines(mountInfo);
    std::string line;
    while (std::getline(lines, line)) {
        // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL FIELDS...] - TYPE SOURCE SUPER-OPTIONS
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") ++separator;
        // A line without its super options may have lost part of its source too.
        if (separator + 3 >= fields.size()) continue;
        const std::string& type = fields[separator + 1];
        if (!IsOpticalFileSystem(type)) continue;
        // A bind mount of a folder on the disc shows that folder, not the disc.
        if (DecodeMountField(fields[3]) != "/") continue;
        std::string mountPoint = DecodeMountField(fields[4]);
        if (mountPoint.empty() || mountPoint[0] != '/' || mountPoint.find('\0') != std::string::npos) continue;
        mounts.push_back(OpticalMount{DecodeMountField(fields[separator + 2]), std::move(mountPoint), type});
    }
    return mounts;
}

std::vector<OpticalMount> ReadOpticalMountEntries(const std::string& mountTableFile) {
    return ParseOpticalMountEntries(ReadWhole(mountTableFile));
}

std::vector<std::string> ParseOpticalMounts(const std::string& mountTable) {
    std::vector<std::string> mountPoints;
    for (OpticalMount& mount : ParseOpticalMountEntries(mountTable)) mountPoints.push_back(std::move(mount.mountPoint));
    return mountPoints;
}

std::vector<std::string> ReadOpticalMounts(const std::string& mountTableFile) {
    return ParseOpticalMounts(ReadWhole(mountTableFile));
}

}  // namespace posixplat
