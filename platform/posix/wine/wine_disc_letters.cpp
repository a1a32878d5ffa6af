#include "platform/posix/wine/wine_disc_letters.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// What the link `name` in the folder `dosdevices` (open as `dirFd`) names, a relative
// text taken from that folder; empty when it is no link.
std::string LinkTarget(const std::string& dosdevices, int dirFd, const char* name) {
    char target[PATH_MAX];
    const ssize_t size = ::readlinkat(dirFd, name, target, sizeof target - 1);
    if (size <= 0) return {};
    const std::string named(target, static_cast<std::size_t>(size));
    return named[0] == '/' ? named : dosdevices + "/" + named;
}

}  // namespace

std::string CanonicalDevicePath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::vector<DosDeviceLetter> ReadDosDeviceLetters(const std::string& dosdevices) {
    std::map<char, DosDeviceLetter> byLetter;
    UniqueDir dir(::opendir(dosdevices.c_str()));
    if (!dir.Valid()) return {};
    while (const dirent* entry = ::readdir(dir.Get())) {
        const std::string name = entry->d_name;
        const char letter = name.empty() ? 0 : LowerLetter(name[0]);
        if (letter < 'a' || letter > 'z') continue;
        if (name.size() == 2 && name[1] == ':') {
            byLetter[letter].letter = letter;
            byLetter[letter].hasDrive = true;
            byLetter[letter].folder = LinkTarget(dosdevices, ::dirfd(dir.Get()), entry->d_name);
        } else if (name.size() == 3 && name[1] == ':' && name[2] == ':') {
            byLetter[letter].letter = letter;
            // A dangling x:: still names its device: the disc may simply be out.
            const std::string named = LinkTarget(dosdevices, ::dirfd(dir.Get()), entry->d_name);
            if (!named.empty()) byLetter[letter].device = CanonicalDevicePath(named);
        }
    }
    std::vector<DosDeviceLetter> letters;
    for (auto& [letter, state] : byLetter) letters.push_back(std::move(state));
    return letters;
}

char ChooseDiscLetter(const std::vector<DosDeviceLetter>& letters, const std::string& device) {
    for (const DosDeviceLetter& state : letters) {
        if (!device.empty() && state.device == device) return state.letter;
    }
    for (char letter = 'd'; letter <= 'z'; ++letter) {
        const bool taken = std::any_of(letters.begin(), letters.end(), [letter](const DosDeviceLetter& state) {
            return state.letter == letter && (state.hasDrive || !state.device.empty());
        });
        if (!taken) return letter;
    }
    return 0;
}

}  // namespace posixplat
