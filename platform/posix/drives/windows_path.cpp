#include "platform/posix/drives/windows_path.h"

#include <sys/stat.h>

#include <array>
#include <cstring>
#include <string_view>

#include "platform/ascii.h"


namespace posixplat {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Bytes Windows refuses in a name: control characters and <>:"|?*. Looked up per byte,
// since every operation parses its whole path.
constexpr std::array<bool, 256> kRefusedInName = [] {
    std::array<bool, 256> refused{};
    for (int c = 0; c < 0x20; ++c) refused[c] = true;
    for (unsigned char c : {'<', '>', ':', '"', '|', '?', '*'}) refused[c] = true;
    return refused;
}();

bool IsValidComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (kRefusedInName[static_cast<unsigned char>(c)]) return false;
    }
    return true;
}

}  // namespace

bool ParseWindowsPath(const std::string& path, WindowsPath* parsed) {
    if (path.size() < 3 || path[1] != ':' || !IsSeparator(path[2])) return false;
    const char letter = ascii::ToUpper(path[0]);
    if (letter < 'A' || letter > 'Z') return false;

    // Trailing separators name the same entry; inner empty components are malformed.
    std::string::size_type end = path.size();
    while (end > 3 && IsSeparator(path[end - 1])) --end;

    parsed->letter = letter;
    std::vector<std::string>& components = parsed->components;
    components.clear();
    components.reserve(8);  // most paths have fewer: one allocation
    std::string::size_type pos = 3;
    while (pos < end) {
        std::string::size_type next = pos;
        while (next < end && !IsSeparator(path[next])) ++next;
        const std::string_view component(path.data() + pos, next - pos);
        if (!IsValidComponent(component)) {
            components.clear();
            return false;
        }
        components.emplace_back(component);
        pos = next + 1;
    }
    return true;
}

std::string JoinHostPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string LiteralHostPath(const std::string& hostFolder, const std::vector<std::string>& components) {
    std::size_t length = hostFolder.size();
    for (const std::string& name : components) length += name.size() + 1;
    std::string path;
    path.reserve(length);
    path = hostFolder;
    for (const std::string& name : components) {
        if (path.empty() || path.back() != '/') path.push_back('/');
        path.append(name);
    }
    return path;
}

std::string ResolveCaseInsensitive(const std::string& hostFolder, const std::vector<std::string>& components,
                                   FolderNameCache* cache, const std::string* literal) {
    if (components.empty()) return hostFolder;
    std::string made;
    const std::string& full = literal ? *literal : (made = LiteralHostPath(hostFolder, components));
    const std::string& last = components.back();
    // A copy fills one folder after another: the folder of the last component is most
    // often one listed just before, and its open listing answers without a look-up.
    if (cache && components.size() > 1) {
        const std::string_view folder(full.data(), full.size() - last.size() - 1);
        std::string match;
        if (cache->FindInHeldListing(folder, last, &match)) {
            if (match.empty() || match == last) return full;
            std::string resolved(folder);
            resolved += '/';
            resolved += match;
            return resolved;
        }
    }

    // The deepest folder on the way that exists under the exact names given is where the
    // walk would arrive level by level. It is looked for from the end, starting with the
    // folder of the last component: an entry in an existing folder, new or not, then
    // costs one look-up, and its own name is found in that folder's listing.
    // The folders on the way are the literal path cut short: ends[i] is the length of the
    // one holding components[i].
    std::string prefixes = full;
    std::vector<std::size_t> ends(components.size() + 1);
    ends[components.size()] = prefixes.size();
    for (std::size_t i = components.size(); i > 0; --i) ends[i - 1] = ends[i] - components[i - 1].size() - 1;
    if (ends[0] == 0) ends[0] = 1;  // the host folder "/" itself
    const auto lstatPrefix = [&](std::size_t i, struct stat* info) {
        const char saved = prefixes[ends[i]];
        prefixes[ends[i]] = '\0';
        const int rc = ::lstat(prefixes.c_str(), info);
        prefixes[ends[i]] = saved;
        return rc;
    };
    std::size_t start = components.size() - 1;
    struct stat found;
    while (start > 0 && lstatPrefix(start, &found) != 0) --start;

    std::string current = prefixes.substr(0, ends[start]);
    bool existing = true;
    for (std::size_t i = start; i < components.size(); ++i) {
        const std::string& name = components[i];
        if (existing) {
            if (i != start) {
                const std::string exactPath = JoinHostPath(current, name);
                struct stat info;
                if (::lstat(exactPath.c_str(), &info) == 0) {
                    current = exactPath;
                    continue;
                }
            }
            const struct stat* folderStatus = (i == start && start > 0) ? &found : nullptr;
            const std::string match = cache ? cache->FindIgnoringCase(current, name, folderStatus)
                                            : ScanFolderIgnoringCase(current, name);
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
                          std::string* hostPath, FolderNameCache* cache) {
    WindowsPath parsed;
    if (!ParseWindowsPath(windowsPath, &parsed)) return false;
    const DriveMapping* drive = FindDrive(drives, parsed.letter);
    if (!drive || drive->image) return false;  // an image's files have no host path
    *hostPath = ResolveCaseInsensitive(drive->hostFolder, parsed.components, cache);
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
