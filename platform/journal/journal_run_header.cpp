#include "platform/journal/journal_run_header.h"

namespace journal {
namespace {

const char* DriveTypeName(plat::DriveType type) {
    switch (type) {
    case plat::DriveType::NoRootDir: return "no root folder";
    case plat::DriveType::Removable: return "removable";
    case plat::DriveType::Fixed: return "fixed";
    case plat::DriveType::Remote: return "remote";
    case plat::DriveType::CdRom: return "cdrom";
    case plat::DriveType::RamDisk: return "ramdisk";
    case plat::DriveType::Unknown: break;
    }
    return "unknown";
}

std::string LocalTime(std::time_t now) {
    char text[32] = "?";
    if (const std::tm* local = std::localtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

}  // namespace

std::string DriveList(plat::FileSystem& fileSystem) {
    const std::string roots = fileSystem.LogicalDriveStrings();
    std::string list;
    for (std::size_t pos = 0; pos < roots.size();) {
        const std::size_t end = roots.find('\0', pos);
        const std::string root = roots.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (root.empty()) break;
        if (!list.empty()) list += ", ";
        list += root.substr(0, 2) + " " + DriveTypeName(fileSystem.GetDriveType(root));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return list.empty() ? "none" : list;
}

std::vector<std::string> HeaderLines(const RunHeader& header, std::time_t now) {
    return {
        "== " + header.kind + " run, " + LocalTime(now) + " ==",
        "program: version " + header.version + ", " + header.build,
        "drives: " + header.drives,
        "mode: " + header.mode,
        "installed before: " + header.state,
    };
}

std::vector<std::string> StartLines(const RunHeader& header, std::time_t now) {
    return {
        "== start without a run, " + LocalTime(now) + " ==",
        "program: version " + header.version + ", " + header.build,
        "drives: " + header.drives,
    };
}

}  // namespace journal
