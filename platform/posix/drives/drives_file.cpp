#include "platform/posix/drives/drives_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <system_error>

#include "platform/ascii.h"
#include "platform/posix/walls/beneath.h"
#include "platform/posix/walls/posix_handles.h"
#include "platform/posix/drives/windows_path.h"

namespace posixplat {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

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
    static const NamedDriveType kTypes[] = {
        {"fixed", plat::DriveType::Fixed},         {"cdrom", plat::DriveType::CdRom},
        {"removable", plat::DriveType::Removable}, {"remote", plat::DriveType::Remote},
        {"ramdisk", plat::DriveType::RamDisk},
    };
    return FindNamedDriveType(kTypes, std::size(kTypes), name, type);
}

constexpr const char* kDrivesFileName = "drives";
constexpr const char* kDrivesTempName = "drives.new";

const char* DriveTypeName(plat::DriveType type) {
    switch (type) {
        case plat::DriveType::CdRom:
            return "cdrom";
        case plat::DriveType::Removable:
            return "removable";
        case plat::DriveType::Remote:
            return "remote";
        case plat::DriveType::RamDisk:
            return "ramdisk";
        default:
            return "fixed";
    }
}

// The quoted text starting at `line[open]` (a quote); `*end` is just past the closing quote.
bool ReadQuoted(const std::string& line, std::string::size_type open, std::string* text, std::string::size_type* end) {
    std::string result;
    for (std::string::size_type i = open + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            *text = std::move(result);
            *end = i + 1;
            return true;
        }
        if (c != '\\') {
            result.push_back(c);
            continue;
        }
        if (++i == line.size()) return false;
        if (line[i] == '\\' || line[i] == '"') {
            result.push_back(line[i]);
        } else if (line[i] == 'x' && i + 2 < line.size() && ascii::HexValue(line[i + 1]) >= 0 && ascii::HexValue(line[i + 2]) >= 0) {
            result.push_back(static_cast<char>(ascii::HexValue(line[i + 1]) * 16 + ascii::HexValue(line[i + 2])));
            i += 2;
        } else {
            return false;
        }
    }
    return false;
}

// A folder that an unquoted line would not read back as itself.
bool NeedsQuotes(const std::string& folder) {
    if (folder.empty() || IsBlank(folder.back())) return true;
    for (std::string::size_type i = 0; i < folder.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folder[i]);
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') return true;
        if (c == '#' && i > 0 && IsBlank(folder[i - 1])) return true;
    }
    return false;
}

std::string Quoted(const std::string& folder) {
    std::string quoted = "\"";
    for (char c : folder) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
            quoted.push_back(c);
        } else if (byte < 0x20 || byte == 0x7F) {
            quoted += "\\x";
            quoted.push_back(ascii::kLowerHexDigits[byte >> 4]);
            quoted.push_back(ascii::kLowerHexDigits[byte & 0xF]);
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('"');
    return quoted;
}

enum class TableRead { kOk, kAbsent, kOutside, kNotRegular, kFailed };

// The drives file is the user's: read only when it is a regular file beneath the root,
// opened without blocking so that a named pipe there cannot hang the start.
TableRead ReadTableFile(int rootFd, std::string* text) {
    bool outside = false;
    UniqueFd fd = OpenBeneath(rootFd, kDrivesFileName, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, &outside);
    if (outside) return TableRead::kOutside;
    if (!fd.Valid()) return errno == ENOENT ? TableRead::kAbsent : TableRead::kFailed;
    struct stat info;
    if (::fstat(fd.Get(), &info) != 0) return TableRead::kFailed;
    if (!S_ISREG(info.st_mode)) return TableRead::kNotRegular;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return TableRead::kFailed;
        }
        if (got == 0) return TableRead::kOk;
        text->append(buffer, static_cast<std::size_t>(got));
    }
}

// Written beside and renamed into place, so a half-written table is never read; neither
// name is ever followed as a link.
bool WriteTableFile(int rootFd, const std::string& text) {
    ::unlinkat(rootFd, kDrivesTempName, 0);
    UniqueFd fd(::openat(rootFd, kDrivesTempName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!fd.Valid()) return false;
    bool written = true;
    for (std::string::size_type done = 0; written && done < text.size();) {
        const ssize_t n = ::write(fd.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += static_cast<std::size_t>(n);
    }
    const bool closed = ::close(fd.Release()) == 0;
    if (written && closed && ::renameat(rootFd, kDrivesTempName, rootFd, kDrivesFileName) == 0) return true;
    const int error = errno;
    ::unlinkat(rootFd, kDrivesTempName, 0);
    errno = error;
    return false;
}


}  // namespace

DriveLineKind ParseDriveLine(const std::string& line, DriveMapping* drive, std::string* why) {
    const auto malformed = [why](const char* reason) {
        if (why) *why = reason;
        return DriveLineKind::Malformed;
    };
    std::string::size_type pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size() || line[pos] == '#') return DriveLineKind::Blank;

    // "X:" then white space, the type, white space, and the host folder.
    if (line.size() - pos < 3 || line[pos + 1] != ':' || !IsBlank(line[pos + 2])) {
        return malformed("expected a drive letter and a colon, as in \"C: fixed /some/folder\"");
    }
    const char letter = ascii::ToUpper(line[pos]);
    if (letter < 'A' || letter > 'Z') return malformed("the drive letter is not a letter from A to Z");

    pos += 2;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string::size_type typeEnd = pos;
    while (typeEnd < line.size() && !IsBlank(line[typeEnd])) ++typeEnd;
    plat::DriveType type;
    if (!DriveTypeFromName(line.substr(pos, typeEnd - pos), &type)) {
        return malformed("unknown drive type (fixed, cdrom, removable, remote or ramdisk)");
    }

    pos = typeEnd;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string folder;
    if (pos < line.size() && line[pos] == '"') {
        std::string::size_type end;
        if (!ReadQuoted(line, pos, &folder, &end)) return malformed("the quoted host folder is not closed or has a bad escape");
        if (!StripCommentAndTrim(line.substr(end)).empty()) return malformed("text after the quoted host folder");
    } else {
        folder = StripCommentAndTrim(line.substr(pos));
    }
    if (folder.empty()) return malformed("no host folder");
    if (folder[0] != '/') return malformed("the host folder is not an absolute path");
    if (folder.find('\0') != std::string::npos) return malformed("the host folder holds a NUL byte");

    drive->letter = letter;
    drive->type = type;
    drive->hostFolder = WithoutTrailingSlashes(folder);
    return DriveLineKind::Drive;
}

std::string FormatDriveLine(const DriveMapping& drive) {
    std::string line;
    line.push_back(drive.letter);
    line += ": ";
    line += DriveTypeName(drive.type);
    line += ' ';
    line += NeedsQuotes(drive.hostFolder) ? Quoted(drive.hostFolder) : drive.hostFolder;
    return line;
}

std::vector<DriveMapping> ParseDriveTable(const std::string& text, std::vector<DriveLineProblem>* problems) {
    std::vector<DriveMapping> drives;
    std::vector<int> lineOf;  // where each letter was mapped, for the report of a repeat
    int number = 0;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        DriveMapping drive;
        std::string why;
        const DriveLineKind kind = ParseDriveLine(line, &drive, &why);
        if (kind == DriveLineKind::Blank) continue;
        if (kind == DriveLineKind::Malformed) {
            if (problems) problems->push_back({number, why});
            continue;
        }
        if (const DriveMapping* earlier = FindDrive(drives, drive.letter)) {
            if (problems) {
                const int earlierLine = lineOf[static_cast<std::size_t>(earlier - drives.data())];
                problems->push_back({number, std::string(1, drive.letter) + ": is already mapped on line " +
                                                 std::to_string(earlierLine)});
            }
            continue;
        }
        drives.push_back(std::move(drive));
        lineOf.push_back(number);
    }
    return drives;
}

std::vector<DriveMapping> LoadDriveTable(const std::string& root, std::vector<std::string>* problems) {
    const std::string tablePath = JoinHostPath(root, kDrivesFileName);
    const auto report = [problems, &tablePath](const std::string& what) {
        if (problems) problems->push_back(tablePath + ": " + what);
    };
    std::error_code ignored;
    std::filesystem::create_directories(root, ignored);
    UniqueFd rootFd = OpenBaseFolder(root);
    if (!rootFd.Valid()) {
        report(std::string("the system root cannot be opened: ") + std::strerror(errno));
        return {};
    }
    std::string text;
    switch (ReadTableFile(rootFd.Get(), &text)) {
        case TableRead::kOk: {
            std::vector<DriveLineProblem> lineProblems;
            std::vector<DriveMapping> drives = ParseDriveTable(text, &lineProblems);
            for (const DriveLineProblem& problem : lineProblems) {
                report("line " + std::to_string(problem.line) + ": " + problem.reason);
            }
            std::vector<std::string> imageProblems;
            MarkImageDrives(drives, &imageProblems);
            for (const std::string& problem : imageProblems) report(problem);
            return drives;
        }
        case TableRead::kOutside:
            // Not replaced either: the link is the user's.
            report("a link that leads out of the system root; no drives are mapped");
            return {};
        case TableRead::kNotRegular:
            report("not a regular file; no drives are mapped");
            return {};
        case TableRead::kFailed:
            report(std::string("cannot be read (") + std::strerror(errno) + "); no drives are mapped");
            return {};
        case TableRead::kAbsent:
            break;
    }

    const DriveMapping driveC{'C', plat::DriveType::Fixed, JoinHostPath(WithoutTrailingSlashes(root), "drive_c")};
    if (::mkdirat(rootFd.Get(), "drive_c", 0755) != 0 && errno != EEXIST) {
        report(std::string("cannot create the folder of C: (") + std::strerror(errno) + ")");
    }
    const std::string table = std::string("# Drive letters of the installer: LETTER: TYPE HOST-FOLDER\n") +
                              "# Types: fixed, cdrom, removable, remote, ramdisk. A folder in double quotes may\n" +
                              "# hold any byte: \\\\ is a backslash, \\\" a quote, \\xHH the byte of two hex digits.\n" +
                              FormatDriveLine(driveC) + "\n";
    if (!WriteTableFile(rootFd.Get(), table)) report(std::string("cannot be written: ") + std::strerror(errno));
    return {driveC};
}

void MarkImageDrives(std::vector<DriveMapping>& drives, std::vector<std::string>* problems) {
    std::vector<DriveMapping> kept;
    for (DriveMapping& drive : drives) {
        struct stat info;
        const bool file = ::stat(drive.hostFolder.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        if (file && drive.type != plat::DriveType::CdRom) {
            if (problems) {
                problems->push_back(std::string(1, drive.letter) + ": names the file " + drive.hostFolder +
                                    "; only a cdrom drive may be a disc image");
            }
            continue;
        }
        drive.image = file;
        kept.push_back(std::move(drive));
    }
    drives = std::move(kept);
}

}  // namespace posixplat
