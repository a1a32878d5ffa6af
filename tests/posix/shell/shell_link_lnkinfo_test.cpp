// Links written here, read by an outside reader of the format (lnkinfo), must name the
// target and working directory that were set.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/posix/fs/posix_file_system.h"
#include "platform/posix/shell/posix_shell.h"
#include "tests/support/fixtures/temp_system_root.h"

namespace {

namespace fs = std::filesystem;

std::string FindLnkinfo() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/lnkinfo";
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

// One word for the shell, whatever the path holds.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The value of a "\tName\t\t: value" line of lnkinfo's report; empty when there is none.
std::string ReportValue(const std::string& report, const std::string& name) {
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(start, end - start);
        start = end + 1;
        const std::size_t nameAt = line.find_first_not_of('\t');
        if (nameAt == std::string::npos || line.compare(nameAt, name.size(), name) != 0) continue;
        const std::size_t colon = line.find_first_not_of("\t ", nameAt + name.size());
        if (colon != std::string::npos && line.compare(colon, 2, ": ") == 0) return line.substr(colon + 2);
    }
    return {};
}

struct LinkCase {
    const char* label;
    std::string target;
    std::string workingDirectory;
};

class ShellLinkLnkinfo : public testing::TestWithParam<LinkCase> {};

TEST_P(ShellLinkLnkinfo, ReportsTargetAndWorkingDirectory) {
    const std::string lnkinfo = FindLnkinfo();
    if (lnkinfo.empty()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";

    testsupport::TempSystemRoot root;
    const std::string mounts = root.root() + "/mounts";
    std::ofstream(mounts).flush();  // no optical drive of the host
    const std::string desktop = "C:\\users\\player\\Desktop";
    fs::create_directories(fs::u8path(root.hostPath(desktop)));

    posixplat::PosixFileSystem fileSystem(root.root(), mounts);
    posixplat::PosixShell shell(fileSystem);
    std::unique_ptr<plat::ShellLink> link = shell.CreateLink();
    ASSERT_TRUE(link);
    const LinkCase& c = GetParam();
    link->SetPath(c.target);
    link->ClearArguments();
    link->SetWorkingDirectory(c.workingDirectory);
    ASSERT_TRUE(link->Save(u"C:\\users\\player\\Desktop\\\u30CF\u30EB\u30CD\u30A2.lnk"));  // ハルネア.lnk

    const std::string file = root.hostPath(desktop + "\\ハルネア.lnk");
    const std::string command = ShellQuoted(lnkinfo) + " " + ShellQuoted(file) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string report;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) report.append(buffer, got);
    ASSERT_EQ(::pclose(pipe), 0) << report;

    EXPECT_EQ(ReportValue(report, "Local path"), c.target) << report;
    EXPECT_EQ(ReportValue(report, "Working directory"), c.workingDirectory) << report;
    EXPECT_EQ(ReportValue(report, "Drive type"), "Fixed (3)") << report;
    EXPECT_EQ(report.find("Command line arguments"), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ShellLinkLnkinfo,
    testing::Values(LinkCase{"Game", "C:\\Program Files\\Velstra\\Mirel\\KARVEX34.EXE",
                             "C:\\Program Files\\Velstra\\Mirel"},
                    LinkCase{"JapaneseFolder", "C:\\ゲーム\\ハルネア\\表示\\KARVEX34.EXE", "C:\\ゲーム\\ハルネア\\表示\\"}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.label); });

}  // namespace
