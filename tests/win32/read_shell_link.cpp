// read-shell-link FILE.lnk: loads a link with the system's link object and prints its
// target, working folder and arguments as UTF-8 lines, for comparing the links of the
// two builds from a shell script.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "tests/win32/shell_link_reader.h"
#include "platform/win32/win32_api.h"

#include <objbase.h>

namespace {

std::string AnsiToUtf8(const std::string& ansi) {
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) {
        std::fputs("usage: read-shell-link FILE.lnk\n", stderr);
        return 2;
    }
    if (FAILED(CoInitialize(nullptr))) return 1;
    win32test::LinkContents contents;
    std::string error;
    const bool ok = win32test::ReadShellLink(argv[1], &contents, &error);
    CoUninitialize();
    if (!ok) {
        std::fprintf(stderr, "read-shell-link: %s\n", error.c_str());
        return 1;
    }
    std::printf("path=%s\nworking=%s\narguments=%s\n", AnsiToUtf8(contents.path).c_str(),
                AnsiToUtf8(contents.workingDirectory).c_str(), AnsiToUtf8(contents.arguments).c_str());
    return 0;
}
