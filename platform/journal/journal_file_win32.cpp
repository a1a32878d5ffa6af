// The journal's file on Windows: opened without following a reparse point, a disk file
// only, appended through FILE_APPEND_DATA (each write lands at the end whoever else
// writes), shared with every other run for reading, writing and renaming. The bound is
// kept under a lock on a byte range past any real data, so appends and reads are never
// refused by it; the newer half is written to a new file that replaces the journal by
// name. A writer that gets the lock checks that the name still gives its file.
#include <random>

#include "platform/journal/journal_file.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_handles.h"

namespace journal {

namespace {

using win32plat::UniqueWin32Handle;
using Handle = UniqueWin32Handle<win32plat::FileHandleTraits>;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockPatienceMs = 2000;

Handle OpenNamed(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    return Handle(CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool Identity(HANDLE file, BY_HANDLE_FILE_INFORMATION* info) { return GetFileInformationByHandle(file, info) != 0; }

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

bool LockWithin(HANDLE file) {
    for (DWORD waited = 0;; waited += 1) {
        OVERLAPPED at = {};
        at.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
        if (waited >= kLockPatienceMs) return false;
        Sleep(1);
    }
}

void Unlock(HANDLE file) {
    OVERLAPPED at = {};
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(file, 0, 1, 0, &at);
}

bool WriteWhole(HANDLE file, const std::string& text) {
    DWORD wrote = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) && wrote == text.size();
}

class Win32JournalFile : public JournalFile {
public:
    explicit Win32JournalFile(std::filesystem::path path) : m_path(std::move(path)) {}

    std::string Open() {
        Handle file = OpenNamed(m_path, GENERIC_READ | FILE_APPEND_DATA, OPEN_ALWAYS);
        if (!file.Valid()) return "it cannot be opened (error " + std::to_string(GetLastError()) + ")";
        BY_HANDLE_FILE_INFORMATION info = {};
        if (GetFileType(file.Get()) != FILE_TYPE_DISK || !Identity(file.Get(), &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
            return "it is not a regular file";
        }
        m_file = std::move(file);
        return {};
    }

    bool AppendBounded(const std::string& lines, std::uintmax_t limit) override {
        if (lines.empty()) return true;
        bool locked = false;
        for (int attempt = 0; attempt < 8 && !locked && LockWithin(m_file.Get()); ++attempt) {
            BY_HANDLE_FILE_INFORMATION mine = {}, named = {};
            const Handle name = OpenNamed(m_path, FILE_READ_ATTRIBUTES, OPEN_EXISTING);
            if (Identity(m_file.Get(), &mine) && name.Valid() && Identity(name.Get(), &named) && SameFile(mine, named)) {
                locked = true;
            } else if (!Open().empty()) {
                return false;
            }
        }
        LARGE_INTEGER size = {};
        if (locked && GetFileSizeEx(m_file.Get(), &size) &&
            static_cast<std::uintmax_t>(size.QuadPart) + lines.size() > limit) {
            DropOlderHalf(limit);
        }
        const bool wrote = WriteWhole(m_file.Get(), lines);
        if (locked) Unlock(m_file.Get());
        return wrote;
    }

private:
    // With the lock held. When the name cannot be replaced (a handle without sharing
    // for deletion), the journal stays as it is and grows until it can.
    void DropOlderHalf(std::uintmax_t limit) {
        LARGE_INTEGER size = {};
        if (!GetFileSizeEx(m_file.Get(), &size)) return;
        std::string all(static_cast<std::size_t>(size.QuadPart), '\0');
        const Handle reading = OpenNamed(m_path, GENERIC_READ, OPEN_EXISTING);
        DWORD got = 0;
        if (!reading.Valid() || !ReadFile(reading.Get(), all.data(), static_cast<DWORD>(all.size()), &got, nullptr)) {
            return;
        }
        all.resize(got);
        std::random_device random;
        std::filesystem::path temporary = m_path;
        temporary += L"." + std::to_wstring(random()) + L".tmp";
        Handle fresh(CreateFileW(temporary.c_str(), GENERIC_READ | FILE_APPEND_DATA, kShareAll, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!fresh.Valid()) return;
        if (!LockWithin(fresh.Get()) || !WriteWhole(fresh.Get(), NewerHalf(all, limit)) ||
            !MoveFileExW(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            fresh.Reset();
            DeleteFileW(temporary.c_str());
            return;
        }
        Unlock(m_file.Get());
        m_file = std::move(fresh);
    }

    std::filesystem::path m_path;
    Handle m_file;
};

}  // namespace

std::unique_ptr<JournalFile> OpenJournalFile(const std::filesystem::path& path, std::string* refusal) {
    auto file = std::make_unique<Win32JournalFile>(path);
    *refusal = file->Open();
    if (!refusal->empty()) return nullptr;
    return file;
}

}  // namespace journal
