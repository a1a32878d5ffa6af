// The copy's transfer between two host files goes through the kernel; it must hand the
// core exactly the chunks a read and a write through the buffer would, on one file
// system and across two (a disc to a hard disk), and must leave files of any other kind
// (the fault-injecting wrappers) to their own Read and Write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/fs/posix_file.h"
#include "tests/support/fixtures/host_files.h"
#include "tests/support/fixtures/sample_disc.h"

namespace {

// The host files of these tests by their host paths; every file is open for reading in
// one set, as in a file system.
posixplat::UniqueFd OpenHostPath(const std::string& path, int flags, mode_t mode) {
    return posixplat::UniqueFd(::open(path.c_str(), flags | O_CLOEXEC, mode));
}
posixplat::OpenReads& Reads() {
    static posixplat::OpenReads reads;
    return reads;
}
std::unique_ptr<plat::File> OpenRead(const std::string& path) {
    return posixplat::OpenHostFileForRead([&](int flags, mode_t mode) { return OpenHostPath(path, flags, mode); },
                                          Reads());
}
std::unique_ptr<plat::File> OpenWrite(const std::string& path) {
    return posixplat::OpenHostFileForWrite([&](int flags, mode_t mode) { return OpenHostPath(path, flags, mode); },
                                           Reads());
}

using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

constexpr std::size_t kChunk = 64 * 1024;

class TempHostFolder {
public:
    explicit TempHostFolder(const std::string& base) {
        std::string pattern = base + "/mirel-transfer-XXXXXX";
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempHostFolder() {
        if (!m_path.empty()) testsupport::RemoveHostTree(m_path);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// The chunks Read would give for a file of `size` bytes: full ones, then the rest, and
// an empty one when the size is a whole number of chunks.
std::vector<std::size_t> ChunksOf(std::size_t size) {
    std::vector<std::size_t> chunks(size / kChunk, kChunk);
    chunks.push_back(size % kChunk);
    return chunks;
}

struct Transfer {
    std::vector<std::size_t> chunks;
    bool ok = true;
};

Transfer TransferAll(plat::File& in, plat::File& out) {
    Transfer transfer;
    std::vector<unsigned char> buffer(kChunk);
    std::size_t got = 0;
    do {
        if (!in.TransferTo(out, buffer.data(), buffer.size(), &got)) {
            transfer.ok = false;
            break;
        }
        transfer.chunks.push_back(got);
    } while (got == buffer.size());
    return transfer;
}

TEST(FileTransfer, GivesTheChunksOfReadAndTheExactBytesOnOneFileSystemAndAcrossTwo) {
    const std::string disk = std::filesystem::temp_directory_path().string();
    // /dev/shm is a file system of its own (tmpfs) where the machine has it.
    const std::string other = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : disk;
    TempHostFolder sourceFolder(other);
    TempHostFolder diskFolder(disk);
    ASSERT_FALSE(sourceFolder.path().empty());
    ASSERT_FALSE(diskFolder.path().empty());

    const std::size_t sizes[] = {0, 1, kChunk - 1, kChunk, kChunk + 1, 3 * kChunk, 5 * kChunk + 4321};
    const std::pair<const char*, std::string> destinations[] = {
        {"same file system", sourceFolder.path()},
        {"other file system", diskFolder.path()},
    };
    for (std::size_t size : sizes) {
        const std::string name = "f" + std::to_string(size);
        const std::string contents = testsupport::SampleFileContent(name, size);
        ASSERT_TRUE(WriteHostFile(sourceFolder.path() + "/" + name, contents));
        for (const auto& [where, folder] : destinations) {
            SCOPED_TRACE(std::string(where) + ", " + std::to_string(size) + " bytes");
            const std::string target = folder + "/" + name + ".copy";
            auto in = OpenRead(sourceFolder.path() + "/" + name);
            auto out = OpenWrite(target);
            ASSERT_TRUE(in && out);
            const Transfer transfer = TransferAll(*in, *out);
            EXPECT_TRUE(transfer.ok);
            EXPECT_EQ(transfer.chunks, ChunksOf(size));
            out.reset();
            EXPECT_TRUE(ReadHostFile(target) == contents);
        }
    }
}

TEST(FileTransfer, AFileThatSaysItIsEmptyGivesWhatReadGives) {
    // Files of /proc report a size of 0 and still have bytes.
    TempHostFolder folder(std::filesystem::temp_directory_path().string());
    auto reader = OpenRead("/proc/self/cmdline");
    if (!reader) GTEST_SKIP() << "no /proc";
    std::vector<char> buffer(kChunk);
    std::size_t got = 0;
    ASSERT_TRUE(reader->Read(buffer.data(), buffer.size(), &got));
    ASSERT_GT(got, 0u);
    const std::string expected(buffer.data(), got);

    auto in = OpenRead("/proc/self/cmdline");
    auto out = OpenWrite(folder.path() + "/cmdline");
    ASSERT_TRUE(in && out);
    EXPECT_TRUE(TransferAll(*in, *out).ok);
    out.reset();
    EXPECT_EQ(ReadHostFile(folder.path() + "/cmdline"), expected);
}

// Stands for a test wrapper around a host file: it sees every write.
class CountingFile : public plat::File {
public:
    explicit CountingFile(std::unique_ptr<plat::File> real) : m_real(std::move(real)) {}
    bool Read(void* buffer, std::size_t size, std::size_t* got) override { return m_real->Read(buffer, size, got); }
    bool Write(const void* buffer, std::size_t size) override {
        ++writes;
        return !failWrites && m_real->Write(buffer, size);
    }
    bool GetStatus(plat::FileStatus* status) override { return m_real->GetStatus(status); }
    int writes = 0;
    bool failWrites = false;

private:
    std::unique_ptr<plat::File> m_real;
};

TEST(FileTransfer, AWrappedDestinationGetsEveryChunkThroughItsWrite) {
    TempHostFolder folder(std::filesystem::temp_directory_path().string());
    const std::string contents = testsupport::SampleFileContent("w", 2 * kChunk + 10);
    ASSERT_TRUE(WriteHostFile(folder.path() + "/w", contents));
    for (bool failWrites : {false, true}) {
        SCOPED_TRACE(failWrites ? "failing writes" : "working writes");
        auto in = OpenRead(folder.path() + "/w");
        CountingFile out(OpenWrite(folder.path() + "/w.copy"));
        out.failWrites = failWrites;
        ASSERT_TRUE(in);
        const Transfer transfer = TransferAll(*in, out);
        EXPECT_EQ(transfer.ok, !failWrites);
        EXPECT_EQ(out.writes, failWrites ? 1 : 3);
    }
    EXPECT_TRUE(ReadHostFile(folder.path() + "/w.copy").empty());  // the failed one was the last
}

}  // namespace
