#pragma once
// The part of the scripted driver that differs per build: the real platform it runs
// on, and the conversion between the UTF-8 of its commands and output and the ANSI
// code page the core works in. Linux: driver_platform_posix.cpp; Windows:
// driver_platform_win32.cpp.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/journal/journal.h"
#include "platform/platform.h"

namespace scriptdriver {

// The system's platform, open for as long as this object lives.
class SystemPlatform {
public:
    virtual ~SystemPlatform() = default;
    virtual plat::Platform& platform() = 0;
    // What of the user's system files could not be used (a line of the drives file, a
    // damaged registry hive), one line each; the run goes on without it.
    virtual std::vector<std::string> problems() const { return {}; }
    // Where the product keeps its install journal on this system.
    virtual std::filesystem::path JournalPath() const = 0;
};

// The build and front-end, for the journal's run headers.
std::string BuildName();

// Opens the platform of the system the driver runs on, as the product would (Linux:
// the system root of $MIREL_SETUP_ROOT, or with `winePrefix` that Wine prefix, an empty
// one meaning Wine's default), with `discImages` read as CD-ROM drives (Linux only:
// Windows mounts images itself). Null when it cannot, with the reason in `error`.
// `opened` names a Wine prefix opened and the image drives, for the driver to print; it
// stays empty otherwise.
std::unique_ptr<SystemPlatform> OpenSystemPlatform(const std::optional<std::string>& winePrefix,
                                                   const std::vector<std::string>& discImages, std::string* opened,
                                                   std::string* error);

// UTF-8 into the system's ANSI code page and back. A character the code page cannot
// hold comes out as a replacement character; neither conversion fails.
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);

// What the journal converts the system's text with: nothing where the ANSI code page is
// UTF-8 already, as in the product's own journal there.
journal::Journal::ToUtf8 JournalToUtf8();

}  // namespace scriptdriver
