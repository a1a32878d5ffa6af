// The journal's own file on Linux: nothing but a regular file of the running user is
// written, never through a link and never waiting on a FIFO; a full file system takes
// whole lines or none; runs sharing the journal keep every line whole and the file
// within its bound.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/journal/journal_log_file.h"

namespace {

namespace fs = std::filesystem;

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// "run R line N" padded to 40 bytes with its line break.
std::string RunLine(int run, int n) {
    std::string line = "run " + std::to_string(run) + " line " + std::to_string(100000 + n) + " ";
    line.resize(39, '.');
    return line;
}

class JournalFileTest : public ::testing::Test {
protected:
    JournalFileTest() {
        std::random_device random;
        m_folder = fs::temp_directory_path() / ("mirel-journal-file-" + std::to_string(random()));
        fs::create_directories(m_folder);
    }
    ~JournalFileTest() override {
        if (m_mounted) umount2(m_folder.c_str(), MNT_DETACH);
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    fs::path Journal() const { return m_folder / "setup.log"; }

    fs::path m_folder;
    bool m_mounted = false;
};

TEST_F(JournalFileTest, WritesNothingButARegularFileOfItsOwn) {
    const fs::path victim = m_folder / "users-file";
    const std::string victimText(3000, 'u');
    struct Case {
        const char* what;
        std::function<bool()> make;  // false: this machine cannot make it
    };
    const Case cases[] = {
        {"a link to a file of the user's", [&] { return symlink(victim.c_str(), Journal().c_str()) == 0; }},
        {"a dangling link", [&] { return symlink((m_folder / "nothing-here").c_str(), Journal().c_str()) == 0; }},
        {"a FIFO", [&] { return mkfifo(Journal().c_str(), 0600) == 0; }},
        {"a folder", [&] { return mkdir(Journal().c_str(), 0700) == 0; }},
        {"another user's file",
         [&] {
             WriteHostFile(Journal(), "theirs\n");
             return geteuid() == 0 && chown(Journal().c_str(), 65534, 65534) == 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove_all(Journal(), ignored);
        fs::remove(m_folder / "nothing-here", ignored);
        WriteHostFile(victim, victimText);
        if (!c.make()) {
            std::cout << "not made here (needs root): " << c.what << '\n';
            continue;
        }
        const fs::file_type typeBefore = fs::symlink_status(Journal()).type();
        {
            // Past the bound at once: the refused file must not be cut either.
            journal::LogFile log(Journal(), 2000);
            for (int n = 0; n < 100; ++n) log.Append(RunLine(0, n));
            log.Flush();
            EXPECT_FALSE(log.Writable());
        }
        EXPECT_EQ(fs::symlink_status(Journal()).type(), typeBefore);
        EXPECT_EQ(ReadHostFile(victim), victimText);
        EXPECT_FALSE(fs::exists(m_folder / "nothing-here"));
        if (typeBefore == fs::file_type::regular) {
            EXPECT_EQ(ReadHostFile(Journal()), "theirs\n");
        }
    }
}

// The full file system is a small tmpfs over the test's folder (root only).
TEST_F(JournalFileTest, AFullFileSystemTakesWholeLinesOrNone) {
    if (geteuid() != 0 || mount("tmpfs", m_folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    m_mounted = true;
    {
        journal::LogFile log(Journal());
        for (int n = 0; n < 100; ++n) log.Append(RunLine(0, n));  // 4000 bytes: most of one page
    }
    {
        // Every other page taken.
        std::ofstream filler(m_folder / "filler", std::ios::binary);
        const std::string page(4096, 'f');
        for (int i = 0; i < 64 && filler.write(page.data(), page.size()); ++i) filler.flush();
    }
    journal::LogFile log(Journal());
    for (int n = 100; n < 110; ++n) log.Append(RunLine(0, n));
    log.Flush();
    const std::string text = ReadHostFile(Journal());
    EXPECT_EQ(text.size() % 40, 0u) << "a line was cut: " << text.size() << " bytes";
    EXPECT_GE(text.size(), 4000u);
    EXPECT_EQ(text.substr(0, 40), RunLine(0, 0) + "\n");
}

// Several processes append to one journal at once. Every line is whole; each run's lines
// in the file are consecutive and end with its last one (dropping the older half keeps a
// newer part of the file); without the bound reached, every line of every run is there.
TEST_F(JournalFileTest, RunsAtOnceKeepEveryLineWholeAndTheFileWithinItsBound) {
    constexpr int kRuns = 4;
    constexpr int kLines = 3000;
    struct Case {
        std::uintmax_t limit;
        bool everyLine;
    };
    for (const Case c : {Case{16 * 1024 * 1024, true}, Case{20000, false}}) {
        SCOPED_TRACE(c.limit);
        std::error_code ignored;
        fs::remove(Journal(), ignored);
        std::vector<pid_t> children;
        for (int run = 0; run < kRuns; ++run) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                {
                    journal::LogFile log(Journal(), c.limit);
                    for (int n = 0; n < kLines; ++n) {
                        log.Append(RunLine(run, n));
                        if (n % 301 == 0) log.Flush();  // batches larger than a stream buffer
                    }
                }
                _exit(0);
            }
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string text = ReadHostFile(Journal());
        EXPECT_LE(text.size(), c.limit);
        ASSERT_EQ(text.size() % 40, 0u);
        std::map<int, std::vector<int>> seen;
        std::istringstream lines(text);
        std::size_t count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            int run = -1, n = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "run %d line %d", &run, &n), 2) << line;
            ASSERT_EQ(line, RunLine(run, n - 100000)) << "line " << count;
            seen[run].push_back(n - 100000);
        }
        for (const auto& [run, numbers] : seen) {
            SCOPED_TRACE(run);
            EXPECT_EQ(numbers.back(), kLines - 1);
            for (std::size_t i = 1; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], numbers[i - 1] + 1) << i;
            if (c.everyLine) {
                EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kLines));
            }
        }
        if (c.everyLine) {
            EXPECT_EQ(seen.size(), static_cast<std::size_t>(kRuns));
        } else {
            EXPECT_GE(text.size(), c.limit / 2 - 4096);
        }
        // No temporary of a rotation left behind.
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder)) ++files;
        EXPECT_EQ(files, 1u);
    }
}

}  // namespace
