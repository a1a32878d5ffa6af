// Windows paths on the host, two properties.
//
// Parsing (byte 0 even; the rest is the path): an accepted path is exactly its letter and
// components put back together, every component a name Windows allows; a refused path
// breaks one of the rules a plain split finds.
//
// Case-insensitive look-up (byte 0 odd; the rest is a program over a small tree of names
// that differ only in case): after any sequence of creations and removals made the way the
// file system makes them, the folder cache resolves every path exactly as a walk that
// lists each folder afresh.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/walls/beneath.h"
#include "platform/posix/drives/folder_name_cache.h"
#include "platform/posix/drives/windows_path.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_temp_folder.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The rules, checked the plain way: drive letter, colon, separator, then names split on
// either separator, trailing separators ignored.
bool ObeysTheRules(const std::string& path) {
    if (path.size() < 3 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
        !IsSeparator(path[2])) {
        return false;
    }
    std::string rest = path.substr(3);
    while (!rest.empty() && IsSeparator(rest.back())) rest.pop_back();
    if (rest.empty()) return true;
    std::string name;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !IsSeparator(rest[i])) {
            name += rest[i];
            continue;
        }
        if (name.empty() || name == "." || name == "..") return false;
        for (unsigned char c : name) {
            if (c < 0x20 || std::string("<>:\"|?*").find(static_cast<char>(c)) != std::string::npos) return false;
        }
        name.clear();
    }
    return true;
}

void CheckParse(const std::string& path) {
    posixplat::WindowsPath parsed;
    const bool accepted = posixplat::ParseWindowsPath(path, &parsed);
    FUZZ_CHECK(accepted == ObeysTheRules(path));
    if (!accepted) return;
    FUZZ_CHECK(parsed.letter >= 'A' && parsed.letter <= 'Z');
    FUZZ_CHECK(parsed.letter == std::toupper(static_cast<unsigned char>(path[0])));
    std::string rebuilt = path.substr(0, 3);
    for (std::size_t i = 0; i < parsed.components.size(); ++i) {
        if (i > 0) rebuilt += '/';
        rebuilt += parsed.components[i];
    }
    std::string expected = path;
    while (expected.size() > 3 && IsSeparator(expected.back())) expected.pop_back();
    for (char& c : expected) {
        if (c == '\\') c = '/';
    }
    for (char& c : rebuilt) {
        if (c == '\\') c = '/';
    }
    FUZZ_CHECK(rebuilt == expected);
}

// Names that collide ignoring case, so that the cache's folding is exercised.
const char* const kNames[] = {"a", "A", "b", "B", "ab", "Ab", "aB", "AB"};

class Tree {
public:
    void Clear() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path(), ignored)) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
        m_cache = posixplat::FolderNameCache();
    }

    // One step: two bytes, the first the operation and depth, the second the names.
    void Step(std::uint8_t op, std::uint8_t names) {
        std::vector<std::string> components;
        const std::size_t depth = 1 + (op >> 2) % 3;
        for (std::size_t i = 0; i < depth; ++i) {
            components.emplace_back(kNames[(names >> (i * 3)) & 7]);
        }
        const std::string cached = posixplat::ResolveCaseInsensitive(m_host, components, &m_cache);
        const std::string fresh = posixplat::ResolveCaseInsensitive(m_host, components);
        FUZZ_CHECK(cached == fresh);
        posixplat::BeneathPath below;
        FUZZ_CHECK(posixplat::SplitBeneath(m_host, cached, &below));
        FUZZ_CHECK(below.name.size() == components.back().size());

        const std::string parent = cached.substr(0, cached.rfind('/'));
        const std::string name = cached.substr(cached.rfind('/') + 1);
        switch (op & 3) {
        case 0:  // a folder, as CreateFolder makes it
            if (::mkdir(cached.c_str(), 0755) == 0) m_cache.NoteCreated(parent, name);
            break;
        case 1:  // a file, as OpenForWrite makes it
            if (const int fd = ::open(cached.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644); fd >= 0) {
                ::close(fd);
                m_cache.NoteCreated(parent, name);
            }
            break;
        case 2:  // a removal, as RemoveFile and RemoveFolder make it
            if (::unlink(cached.c_str()) == 0 || ::rmdir(cached.c_str()) == 0) {
                m_cache.Forget(cached);
                m_cache.Forget(parent);
            }
            break;
        default:  // a look-up only
            break;
        }
    }

private:
    FuzzTempFolder m_folder{"mirel-windows-path-fuzz"};
    const std::string& m_host = m_folder.path();
    posixplat::FolderNameCache m_cache;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if ((data[0] & 1) == 0) {
        CheckParse(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
        return 0;
    }
    static Tree tree;
    tree.Clear();
    for (std::size_t i = 1; i + 1 < size && i < 1 + 2 * 64; i += 2) tree.Step(data[i], data[i + 1]);
    return 0;
}
