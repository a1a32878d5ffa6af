// Stands in for the game in the launcher tests: records in "launched.txt" of its working
// folder that it was started, in which folder, with which ANSI code page, and what it
// finds where the install record's CDPath points (as the game looks for its data there
// at play time), with the volume label, serial and file system of that drive.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string RecordedCdPath() {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Velstra\\Mirel", "CDPath", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return value;
}

}  // namespace

int main() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::FILE* out = std::fopen("launched.txt", "w");
    if (!out) return 1;
    std::fprintf(out, "started in %s\n", folder);
    std::fprintf(out, "code page %u\n", GetACP());
    std::string cdPath = RecordedCdPath();
    std::fprintf(out, "CDPath %s\n", cdPath.empty() ? "(none)" : cdPath.c_str());
    if (!cdPath.empty()) {
        if (cdPath.back() != '\\') cdPath += '\\';
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((cdPath + "*").c_str(), &found);
        std::string names;
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.cFileName[0] != '.') names += std::string(names.empty() ? "" : ",") + found.cFileName;
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        std::fprintf(out, "CDPath holds %s\n", names.empty() ? "nothing" : names.c_str());
        const std::string root = cdPath.substr(0, 3);
        char label[MAX_PATH + 1] = {};
        char fileSystem[MAX_PATH + 1] = {};
        DWORD serial = 0;
        const BOOL known = GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, nullptr, nullptr,
                                                 fileSystem, sizeof fileSystem);
        std::fprintf(out, "drive %s type %u label %s\n", root.c_str(), GetDriveTypeA(root.c_str()),
                     known ? label : "(unknown)");
        // Games that check for their disc compare the serial as well as the label.
        if (known) std::fprintf(out, "volume %s serial %08lX file system %s\n", root.c_str(), serial, fileSystem);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
