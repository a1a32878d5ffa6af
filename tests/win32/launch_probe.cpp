// Stands in for the game in the launcher test: records that it was started, and in which
// folder, in "launched.txt" of its working folder.
#include <windows.h>

#include <cstdio>

int main() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::FILE* out = std::fopen("launched.txt", "w");
    if (!out) return 1;
    std::fprintf(out, "started in %s\n", folder);
    return std::fclose(out) == 0 ? 0 : 1;
}
