#include "platform/posix/windows_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/posix/posix_handles.h"

namespace posixplat {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAllowedInName(unsigned char c) {
    if (c < 0x20) return false;
    return std::strchr("<>:\"|?*", c) == nullptr;
}

bool IsValidComponent(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (!IsAllowedInName(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool EntryExists(const std::string& hostPath) {
    struct stat info;
    return ::lstat(hostPath.c_str(), &info) == 0;
}

// The entry of `folder` whose name matches `name` ignoring case; empty when none does.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    UniqueDir dir(::opendir(folder.c_str()));
    if (!dir.Valid()) return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.Get())) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (SameNameIgnoringCase(candidate, name) && (best.empty() || candidate < best)) best = candidate;
    }
    return best;
}

}  // namespace

bool ParseWindowsPath(const std::string& path, WindowsPath* parsed) {
    if (path.size() < 3 || path[1] != ':' || !IsSeparator(path[2])) return false;
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return false;

    // Trailing separators name the same entry; inner empty components are malformed.
    std::string::size_type end = path.size();
    while (end > 3 && IsSeparator(path[end - 1])) --end;

    WindowsPath result;
    result.letter = letter;
    std::string::size_type pos = 3;
    while (pos < end) {
        std::string::size_type next = pos;
        while (next < end && !IsSeparator(path[next])) ++next;
        std::string component = path.substr(pos, next - pos);
        if (!IsValidComponent(component)) return false;
        result.components.push_back(std::move(component));
        pos = next + 1;
    }
    *parsed = std::move(result);
    return true;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string ResolveCaseInsensitive(const std::string& hostFolder, const std::vector<std::string>& components) {
    // The longest leading run of components that exists under the exact names given is
    // what the walk below would choose level by level; finding it from the end costs one
    // lookup for a path that exists and two for a new entry in an existing folder,
    // instead of one per level.
    std::vector<std::string> prefixes{hostFolder};
    for (const std::string& name : components) prefixes.push_back(JoinHostPath(prefixes.back(), name));
    std::size_t exact = components.size();
    while (exact > 0 && !EntryExists(prefixes[exact])) --exact;

    std::string current = prefixes[exact];
    bool existing = true;
    for (std::size_t i = exact; i < components.size(); ++i) {
        const std::string& name = components[i];
        if (existing) {
            // The exact name is known to be missing at the first level of this loop.
            const std::string exactPath = JoinHostPath(current, name);
            if (i != exact && EntryExists(exactPath)) {
                current = exactPath;
                continue;
            }
            const std::string match = FindIgnoringCase(current, name);
            if (!match.empty()) {
                current = JoinHostPath(current, match);
                continue;
            }
            existing = false;
        }
        current = JoinHostPath(current, name);
    }
    return current;
}

bool TranslateWindowsPath(const std::vector<DriveMapping>& drives, const std::string& windowsPath,
                          std::string* hostPath) {
    WindowsPath parsed;
    if (!ParseWindowsPath(windowsPath, &parsed)) return false;
    const DriveMapping* drive = FindDrive(drives, parsed.letter);
    if (!drive) return false;
    *hostPath = ResolveCaseInsensitive(drive->hostFolder, parsed.components);
    return true;
}

bool FolderOfPattern(const std::string& pattern, std::string* folder) {
    for (const char* wildcard : {"*.*", "*"}) {
        const std::string::size_type length = std::strlen(wildcard);
        if (pattern.size() > length && pattern.compare(pattern.size() - length, length, wildcard) == 0 &&
            IsSeparator(pattern[pattern.size() - length - 1])) {
            *folder = pattern.substr(0, pattern.size() - length);
            return true;
        }
    }
    return false;
}

}  // namespace posixplat
