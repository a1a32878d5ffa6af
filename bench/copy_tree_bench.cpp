// Benchmark helper for bench/copy_tree.sh.
//
//   copy_tree_bench generate FOLDER BYTES [SPLIT]
//       Writes a disc-like tree of about BYTES bytes into FOLDER (which must not exist):
//       a few files of hundreds of megabytes and many of tens of kilobytes in nested
//       folders. With SPLIT (default 1), SPLIT times the files, each 1/SPLIT of the size,
//       in the same folders. Contents are deterministic.
//
//   copy_tree_bench copy SOURCE DESTINATION
//       Copies the host folder SOURCE to DESTINATION (which must not exist, its parent
//       must) with the installer's own tree copy over the real Linux platform: a
//       temporary system root maps Q: (CD-ROM) on SOURCE's parent and C: on
//       DESTINATION's parent. Prints the result, the time and the peak memory.
//
//   copy_tree_bench evict FOLDER
//       Drops the written files below FOLDER from the page cache (after a sync), so that
//       copies kept for later rounds do not crowd the memory the next copy works in.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/installer_dlg.h"
#include "platform/dialog_host.h"
#include "platform/posix/posix_platform.h"

namespace {

namespace fs = std::filesystem;

// The tree copy talks to a dialog only for its progress bar; nothing to show here.
class SilentDialogHost : public plat::DialogHost {
public:
    std::string GetText(int) override { return {}; }
    void SetText(int, const std::string&) override {}
    bool IsEnabled(int) override { return true; }
    void Enable(int, bool) override {}
    bool IsVisible(int) override { return true; }
    void Show(int, bool) override {}
    int GetCheck(int) override { return 0; }
    void SetCheck(int, int) override {}
    void ResetContent(int) override {}
    int AddString(int, const std::string&) override { return 0; }
    int FindStringExact(int, const std::string&) override { return plat::kComboNone; }
    int GetCount(int) override { return 0; }
    int GetCurSel(int) override { return plat::kComboNone; }
    void SetCurSel(int, int) override {}
    std::string GetItemText(int, int) override { return {}; }
    void SetProgressRange(int, int, int) override {}
    void SetProgressPos(int, int) override {}
    int MessageBox(const std::string&, unsigned) override { return plat::kIdOk; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetRunActive(bool) override {}
    void EndDialog(int) override {}
};

// --- generate ---

class ContentStream {
public:
    explicit ContentStream(std::uint64_t seed) : m_state(seed ? seed : 1) {}
    void Fill(std::vector<char>& buffer, std::size_t size) {
        for (std::size_t i = 0; i < size; i += 8) {
            m_state ^= m_state << 13;
            m_state ^= m_state >> 7;
            m_state ^= m_state << 17;
            for (std::size_t k = 0; k < 8 && i + k < size; ++k) buffer[i + k] = static_cast<char>(m_state >> (8 * k));
        }
    }

private:
    std::uint64_t m_state;
};

bool WriteGeneratedFile(const fs::path& path, std::uint64_t size, std::uint64_t seed, std::vector<char>& buffer) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ContentStream stream(seed);
    for (std::uint64_t left = size; left > 0;) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
        stream.Fill(buffer, piece);
        out.write(buffer.data(), static_cast<std::streamsize>(piece));
        left -= piece;
    }
    return static_cast<bool>(out);
}

int Generate(const std::string& folder, std::uint64_t totalBytes, unsigned split) {
    const fs::path root(folder);
    std::error_code ec;
    if (fs::exists(root, ec)) {
        std::fprintf(stderr, "copy_tree_bench: %s exists already\n", folder.c_str());
        return 2;
    }
    std::vector<char> buffer(1 << 20);
    std::uint64_t written = 0;
    std::uint64_t files = 0;

    // About 60% in three large files, as the music and movie folders of a disc have.
    const std::uint64_t largeSize = totalBytes / 5 / split;
    const char* largeNames[] = {"MOV/OPENING", "MOV/ENDING", "BGM/BGM_ALL"};
    const char* largeTypes[] = {".MPG", ".MPG", ".OGG"};
    for (unsigned i = 0; i < 3 * split && largeSize > 0; ++i) {
        std::string name = largeNames[i % 3];
        if (split > 1) {
            name += '_';
            name += std::to_string(i / 3);
        }
        const fs::path path = root / (name + largeTypes[i % 3]);
        fs::create_directories(path.parent_path(), ec);
        if (!WriteGeneratedFile(path, largeSize, 1000 + i, buffer)) return 1;
        written += largeSize;
        ++files;
    }

    // The rest in files of 16 to 64 KB, spread over nested folders.
    const char* topFolders[] = {"CUR", "MCG", "MSK", "TXT", "MSE", "KOE"};
    std::uint64_t index = 0;
    while (written < totalBytes) {
        const std::uint64_t size =
            std::min<std::uint64_t>(totalBytes - written, (16384 + (index * 7919) % 49153) / split);
        const std::uint64_t place = index / split;  // a split tree has more files in the same folders
        const char* top = topFolders[place % 6];
        char relative[96];
        std::snprintf(relative, sizeof relative, "%s/S%02" PRIu64 "/D%" PRIu64 "/%s%06" PRIu64 ".DAT", top,
                      (place / 6) % 8, (place / 48) % 4, top, index);
        const fs::path path = root / relative;
        fs::create_directories(path.parent_path(), ec);
        if (!WriteGeneratedFile(path, size, 5000 + index, buffer)) return 1;
        written += size;
        ++files;
        ++index;
    }
    std::printf("copy_tree_bench: generated %" PRIu64 " files, %" PRIu64 " bytes in %s\n", files, written,
                folder.c_str());
    return 0;
}

// --- copy ---

long PeakMemoryKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

int Copy(const std::string& source, const std::string& destination) {
    const fs::path sourcePath = fs::absolute(fs::path(source));
    const fs::path destinationPath = fs::absolute(fs::path(destination));
    std::error_code ec;
    if (!fs::is_directory(sourcePath, ec) || fs::exists(destinationPath, ec) ||
        !fs::is_directory(destinationPath.parent_path(), ec)) {
        std::fprintf(stderr, "copy_tree_bench: need an existing source folder and a new destination\n");
        return 2;
    }

    std::string rootTemplate = (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : std::string("/tmp")) +
                               "/copy-tree-bench-root.XXXXXX";
    if (!mkdtemp(rootTemplate.data())) {
        std::perror("copy_tree_bench: mkdtemp");
        return 1;
    }
    const std::string root = rootTemplate;
    {
        std::ofstream drives(root + "/drives");
        drives << "Q: cdrom " << sourcePath.parent_path().string() << "\n"
               << "C: fixed " << destinationPath.parent_path().string() << "\n";
    }

    int result = 0;
    double seconds = 0;
    {
        std::string error;
        std::unique_ptr<posixplat::PosixPlatform> platform = posixplat::PosixPlatform::Open(root, &error);
        if (!platform) {
            std::fprintf(stderr, "copy_tree_bench: %s\n", error.c_str());
            fs::remove_all(root, ec);
            return 1;
        }
        SilentDialogHost host;
        CInstallerDlg dialog(platform->platform(), host);
        const auto start = std::chrono::steady_clock::now();
        result = dialog.CopyFolderTree("C:\\" + destinationPath.filename().string(),
                                       "Q:\\" + sourcePath.filename().string());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    fs::remove_all(root, ec);  // the system root only; the drives' folders lie outside it

    std::printf("copy_tree_bench: result=%d seconds=%.3f peak_rss_kib=%ld\n", result, seconds, PeakMemoryKib());
    return result ? 0 : 1;
}

// --- evict ---

int Evict(const std::string& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
    return ec ? 1 : 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: copy_tree_bench generate FOLDER BYTES [SPLIT]\n"
                 "       copy_tree_bench copy SOURCE DESTINATION\n"
                 "       copy_tree_bench evict FOLDER\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "evict") return Evict(argv[2]);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "generate" && (argc == 4 || argc == 5)) {
        char* end = nullptr;
        const unsigned long long bytes = std::strtoull(argv[3], &end, 10);
        if (!end || *end) return Usage();
        unsigned long split = 1;
        if (argc == 5) {
            split = std::strtoul(argv[4], &end, 10);
            if (!end || *end || split == 0 || split > 1000) return Usage();
        }
        return Generate(argv[2], bytes, static_cast<unsigned>(split));
    }
    if (command == "copy" && argc == 4) return Copy(argv[2], argv[3]);
    return Usage();
}
