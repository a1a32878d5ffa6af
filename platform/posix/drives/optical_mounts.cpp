#include "platform/posix/drives/optical_mounts.h"

#include <fstream>
#include <sstream>

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

bool IsOpticalFileSystem(const std::string& type) { return type == "iso9660" || type == "udf"; }

}  // namespace

std::vector<std::string> ParseOpticalMounts(const std::string& mountTable) {
    std::vector<std::string> mountPoints;
    std::istringstream lines(mountTable);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (!IsOpticalFileSystem(type)) continue;
        std::string decoded = DecodeMountField(mountPoint);
        if (decoded.empty() || decoded[0] != '/' || decoded.find('\0') != std::string::npos) continue;
        mountPoints.push_back(std::move(decoded));
    }
    return mountPoints;
}

std::vector<std::string> ReadOpticalMounts(const std::string& mountTableFile) {
    std::ifstream in(mountTableFile, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return ParseOpticalMounts(text.str());
}

}  // namespace posixplat
