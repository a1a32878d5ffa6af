#include "platform/posix/drive_table.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace posixplat {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The line without its comment and surrounding white space.
std::string StripCommentAndTrim(const std::string& line) {
    std::string::size_type end = line.size();
    for (std::string::size_type i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) {
            end = i;
            break;
        }
    }
    std::string::size_type begin = 0;
    while (begin < end && IsBlank(line[begin])) ++begin;
    while (end > begin && IsBlank(line[end - 1])) --end;
    return line.substr(begin, end - begin);
}

bool DriveTypeFromName(const std::string& name, plat::DriveType* type) {
    static const struct {
        const char* name;
        plat::DriveType type;
    } kTypes[] = {
        {"fixed", plat::DriveType::Fixed},         {"cdrom", plat::DriveType::CdRom},
        {"removable", plat::DriveType::Removable}, {"remote", plat::DriveType::Remote},
        {"ramdisk", plat::DriveType::RamDisk},
    };
    const std::string lower = Lower(name);
    for (const auto& entry : kTypes) {
        if (lower == entry.name) {
            *type = entry.type;
            return true;
        }
    }
    return false;
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool IsMapped(const std::vector<DriveMapping>& drives, char letter) { return FindDrive(drives, letter) != nullptr; }

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

// Every folder on the way to `path`, like mkdir -p.
void MakeFolders(const std::string& path) {
    for (std::string::size_type slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        MakeFolder(path.substr(0, slash));
    }
    MakeFolder(path);
}

}  // namespace

DriveLineKind ParseDriveLine(const std::string& line, DriveMapping* drive) {
    const std::string text = StripCommentAndTrim(line);
    if (text.empty()) return DriveLineKind::Blank;

    // "X:" then white space, the type, white space, and the host folder to the end.
    if (text.size() < 3 || text[1] != ':' || !IsBlank(text[2])) return DriveLineKind::Malformed;
    const char letter = AsciiUpper(text[0]);
    if (letter < 'A' || letter > 'Z') return DriveLineKind::Malformed;

    std::string::size_type pos = 2;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::string::size_type typeEnd = pos;
    while (typeEnd < text.size() && !IsBlank(text[typeEnd])) ++typeEnd;
    plat::DriveType type;
    if (!DriveTypeFromName(text.substr(pos, typeEnd - pos), &type)) return DriveLineKind::Malformed;

    pos = typeEnd;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::string folder = text.substr(pos);
    if (folder.empty() || folder[0] != '/') return DriveLineKind::Malformed;
    if (folder.find('\0') != std::string::npos) return DriveLineKind::Malformed;

    drive->letter = letter;
    drive->type = type;
    drive->hostFolder = WithoutTrailingSlashes(folder);
    return DriveLineKind::Drive;
}

std::vector<DriveMapping> ParseDriveTable(const std::string& text) {
    std::vector<DriveMapping> drives;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        DriveMapping drive;
        if (ParseDriveLine(line, &drive) == DriveLineKind::Drive && !IsMapped(drives, drive.letter)) {
            drives.push_back(std::move(drive));
        }
    }
    return drives;
}

std::vector<DriveMapping> LoadDriveTable(const std::string& root) {
    const std::string tablePath = root + "/drives";
    std::ifstream in(tablePath, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        return ParseDriveTable(text.str());
    }

    struct stat info;
    if (::stat(tablePath.c_str(), &info) == 0) return {};  // there, but not readable: no drives

    const std::string driveC = WithoutTrailingSlashes(root) + "/drive_c";
    MakeFolders(driveC);
    {
        // Written beside and renamed into place, so a half-written table is never read.
        const std::string temporary = tablePath + ".new";
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << "# Drive letters of the installer: LETTER: TYPE HOST-FOLDER\n"
            << "# Types: fixed, cdrom, removable, remote, ramdisk.\n"
            << "C: fixed " << driveC << "\n";
        out.close();
        if (!out || std::rename(temporary.c_str(), tablePath.c_str()) != 0) std::remove(temporary.c_str());
    }
    return {DriveMapping{'C', plat::DriveType::Fixed, driveC}};
}

void AddOpticalDrives(std::vector<DriveMapping>& drives, const std::vector<std::string>& mountPoints) {
    char next = 'D';
    for (const std::string& mountPoint : mountPoints) {
        const std::string folder = WithoutTrailingSlashes(mountPoint);
        bool known = false;
        for (const DriveMapping& drive : drives) {
            if (drive.hostFolder == folder) known = true;
        }
        if (known) continue;
        while (next <= 'Z' && IsMapped(drives, next)) ++next;
        if (next > 'Z') return;
        drives.push_back(DriveMapping{next, plat::DriveType::CdRom, folder});
    }
}

const DriveMapping* FindDrive(const std::vector<DriveMapping>& drives, char letter) {
    const char upper = AsciiUpper(letter);
    for (const DriveMapping& drive : drives) {
        if (drive.letter == upper) return &drive;
    }
    return nullptr;
}

}  // namespace posixplat
