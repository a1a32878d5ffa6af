#include "platform/posix/drives/fuse_disc_image.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/posix/walls/posix_handles.h"

namespace posixplat {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Arguments(const std::string& cmdline) {
    std::vector<std::string> arguments;
    std::string::size_type start = 0;
    while (start < cmdline.size()) {
        const std::string::size_type end = cmdline.find('\0', start);
        arguments.push_back(cmdline.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return arguments;
}

// fuseiso [-n] [-p] [-c charset] [-h] IMAGE MOUNTPOINT [FUSE options]: the two names.
bool ImageAndMountPoint(const std::vector<std::string>& arguments, std::string* image, std::string* mountPoint) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i < arguments.size() && names.size() < 2; ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-c" || argument == "-o") {
            ++i;
        } else if (argument.empty() || argument[0] != '-') {
            names.push_back(argument);
        }
    }
    if (names.size() != 2) return false;
    *image = names[0];
    *mountPoint = names[1];
    return true;
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// A name the process gave relative to a folder it has left (fuseiso goes to / when it
// becomes a daemon): it fits an absolute path that ends in it.
bool Names(const std::string& given, const std::string& absolute) {
    if (given.empty()) return false;
    if (given[0] == '/') return RealPath(given) == absolute;
    const std::string relative = std::filesystem::path(given).lexically_normal().string();
    if (relative.rfind("..", 0) == 0) return false;
    return absolute.size() > relative.size() &&
           absolute.compare(absolute.size() - relative.size(), relative.size(), relative) == 0 &&
           absolute[absolute.size() - relative.size() - 1] == '/';
}

// The regular file or block device the process has open that `image` names: fuseiso
// serves a disc drive (fuseiso /dev/sr0 DIR) as readily as an image file.
std::string OpenImage(const std::string& processFolder, const std::string& image) {
    std::string found;
    UniqueDir fds(::opendir((processFolder + "/fd").c_str()));
    if (!fds.Valid()) return {};
    while (const dirent* entry = ::readdir(fds.Get())) {
        if (entry->d_name[0] == '.') continue;
        char target[PATH_MAX];
        const ssize_t size = ::readlinkat(::dirfd(fds.Get()), entry->d_name, target, sizeof target - 1);
        if (size <= 0 || target[0] != '/') continue;
        const std::string path(target, static_cast<std::size_t>(size));
        struct stat info;
        if (::stat(path.c_str(), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISBLK(info.st_mode))) continue;
        std::string real = RealPath(path);
        if (Names(image, real)) found = std::move(real);
    }
    return found;
}

}  // namespace

std::string FuseIsoImageFile(const std::string& mountPoint, const std::string& procFolder) {
    const std::string mounted = RealPath(mountPoint);
    if (mounted.empty()) return {};
    std::string found;
    int fitting = 0;
    UniqueDir processes(::opendir(procFolder.c_str()));
    if (!processes.Valid()) return {};
    while (const dirent* entry = ::readdir(processes.Get())) {
        const std::string pid = entry->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string folder = procFolder + "/" + pid;
        const std::vector<std::string> arguments = Arguments(Slurp(folder + "/cmdline"));
        if (arguments.empty() || std::filesystem::path(arguments[0]).filename() != "fuseiso") continue;
        std::string image, point;
        if (!ImageAndMountPoint(arguments, &image, &point) || !Names(point, mounted)) continue;
        const std::string file = OpenImage(folder, image);
        if (file.empty()) continue;
        found = file;
        ++fitting;
    }
    return fitting == 1 ? found : std::string();
}

}  // namespace posixplat
