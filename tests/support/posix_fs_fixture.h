#pragma once
// A PosixFileSystem over a fresh temporary system root with C: (fixed) and Q: (CD-ROM),
// blind to the host's own mounted discs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/posix/fs/posix_file_system.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/temp_system_root.h"

class PosixFsTest : public ::testing::Test {
protected:
    PosixFsTest() : m_systemRoot(testsupport::TempSystemRootOptions::WithCdrom()) {}

    void SetUp() override { Reopen(); }

    // Constructs the file system again, as a new start of the program would.
    void Reopen() { m_fs = std::make_unique<posixplat::PosixFileSystem>(m_systemRoot.root(), NoMounts()); }

    std::string NoMounts() const { return m_systemRoot.root() + "/no-mount-table"; }
    std::string DriveC() const { return m_systemRoot.driveFolder('C'); }
    std::string DriveQ() const { return m_systemRoot.driveFolder('Q'); }

    posixplat::PosixFileSystem& fs() { return *m_fs; }
    testsupport::TempSystemRoot& systemRoot() { return m_systemRoot; }

    // Writes through the file system under test; fails the test when it cannot.
    void WriteThrough(const std::string& path, const std::string& contents) {
        auto file = m_fs->OpenForWrite(path);
        ASSERT_TRUE(file) << path;
        ASSERT_TRUE(file->Write(contents.data(), contents.size())) << path;
    }

    std::string ReadThrough(const std::string& path) {
        auto file = m_fs->OpenForRead(path);
        if (!file) return "<cannot open>";
        std::string contents(1 << 16, '\0');
        std::size_t got = 0;
        if (!file->Read(contents.data(), contents.size(), &got)) return "<read failed>";
        contents.resize(got);
        return contents;
    }

private:
    testsupport::TempSystemRoot m_systemRoot;
    std::unique_ptr<posixplat::PosixFileSystem> m_fs;
};
