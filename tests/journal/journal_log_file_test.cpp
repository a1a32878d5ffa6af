// The journal's file: bounded by dropping its older half, whole lines only, and never
// a cost to the run when it cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/journal/journal_log_file.h"

namespace {

namespace fs = std::filesystem;

class JournalLogFile : public ::testing::Test {
protected:
    JournalLogFile() {
        std::random_device random;
        m_folder = fs::temp_directory_path() / ("mirel-journal-" + std::to_string(random()));
        fs::create_directories(m_folder);
    }
    ~JournalLogFile() override {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    fs::path File() const { return m_folder / "setup.log"; }
    std::string Contents() const {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Numbered(int n) {
        std::string line = "line " + std::to_string(10000 + n);
        line.resize(39, '.');
        return line;  // 40 bytes with its line break
    }

    fs::path m_folder;
};

TEST_F(JournalLogFile, StaysUnderItsBoundKeepingTheNewestLinesWhole) {
    constexpr std::uintmax_t kLimit = 4000;
    {
        journal::LogFile log(File(), kLimit);
        for (int n = 1; n <= 500; ++n) log.Append(Numbered(n));
        EXPECT_TRUE(log.Writable());
    }
    const std::string text = Contents();
    EXPECT_LT(text.size(), kLimit);
    ASSERT_EQ(text.size() % 40, 0u) << "a line was cut";
    // Consecutive lines up to the newest, and at least half the bound of them.
    const std::size_t lines = text.size() / 40;
    EXPECT_GE(lines, kLimit / 2 / 40);
    for (std::size_t i = 0; i < lines; ++i) {
        EXPECT_EQ(text.substr(i * 40, 40), Numbered(static_cast<int>(500 - lines + 1 + i)) + "\n") << i;
    }
}

TEST_F(JournalLogFile, AppendsToWhatEarlierRunsLeftAndCutsAFileAlreadyTooLarge) {
    {
        journal::LogFile first(File(), 4000);
        first.Append(Numbered(1));
    }
    {
        journal::LogFile second(File(), 4000);
        second.Append(Numbered(2));
    }
    EXPECT_EQ(Contents(), Numbered(1) + "\n" + Numbered(2) + "\n");

    {
        std::ofstream out(File(), std::ios::binary | std::ios::trunc);
        for (int n = 1; n <= 250; ++n) out << Numbered(n) << '\n';
    }
    journal::LogFile large(File(), 4000);
    large.Append(Numbered(251));
    const std::string text = Contents();
    EXPECT_LT(text.size(), 4000u);
    EXPECT_EQ(text.substr(text.size() - 40), Numbered(251) + "\n");
    EXPECT_EQ(text.substr(0, 5), "line ");
}

TEST_F(JournalLogFile, AFileThatCannotBeWrittenIsPassedOver) {
    const fs::path nowhere = m_folder / "no-such-folder" / "setup.log";
    journal::LogFile log(nowhere);
    for (int n = 1; n <= 3; ++n) log.Append(Numbered(n));
    EXPECT_FALSE(log.Writable());
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
}

}  // namespace
