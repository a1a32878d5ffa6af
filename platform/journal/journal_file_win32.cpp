// The journal's file on Windows: opened for each batch without following a reparse
// point, a disk file only, appended through FILE_APPEND_DATA (each write lands at the end
// whoever else writes), shared for reading, writing and deleting. Windows cannot rename a
// file over one that is open, so no run keeps the journal open between batches: every
// batch is written under a named mutex shared by every run that writes this journal, and
// a run that drops the older half writes the newer half to a new file and renames it over
// the journal while no handle to it is open.
#include <functional>
#include <random>

#include "platform/journal/journal_file.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_handles.h"

namespace journal {

namespace {

using Handle = win32plat::UniqueWin32Handle<win32plat::FileHandleTraits>;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A run stopped while it holds the mutex must not stop the others: after this long they
// append without it (whole lines still; the bound is kept at the next batch).
constexpr DWORD kLockPatienceMs = 2000;

class Mutex {
public:
    explicit Mutex(HANDLE handle) : m_handle(handle) {}
    ~Mutex() {
        if (m_handle) CloseHandle(m_handle);
    }
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

Handle OpenNamed(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    return Handle(CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The journal opened for appending; invalid, with the reason, when it is not a file the
// journal may write.
Handle OpenJournal(const std::filesystem::path& path, std::string* refusal) {
    Handle file = OpenNamed(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_ALWAYS);
    if (!file.Valid()) {
        *refusal = "it cannot be opened (error " + std::to_string(GetLastError()) + ")";
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        *refusal = "it is not a regular file";
        return Handle();
    }
    return file;
}

bool WriteWhole(HANDLE file, const std::string& text) {
    DWORD wrote = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) && wrote == text.size();
}

// With the mutex held and no handle to the journal open: the newer half replaces it.
// When the name cannot be replaced, the journal stays as it is and grows until it can.
void DropOlderHalf(const std::filesystem::path& path, std::uintmax_t limit) {
    std::string all;
    {
        const Handle reading = OpenNamed(path, GENERIC_READ, OPEN_EXISTING);
        LARGE_INTEGER size = {};
        if (!reading.Valid() || !GetFileSizeEx(reading.Get(), &size)) return;
        all.assign(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (!ReadFile(reading.Get(), all.data(), static_cast<DWORD>(all.size()), &got, nullptr)) return;
        all.resize(got);
    }
    std::random_device random;
    std::filesystem::path temporary = path;
    temporary += L"." + std::to_wstring(random()) + L".tmp";
    bool written = false;
    {
        const Handle fresh(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
        if (!fresh.Valid()) return;
        written = WriteWhole(fresh.Get(), NewerHalf(all, limit));
    }
    if (!written || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
    }
}

class Win32JournalFile : public JournalFile {
public:
    Win32JournalFile(std::filesystem::path path, HANDLE mutex) : m_path(std::move(path)), m_mutex(mutex) {}

    bool AppendBounded(const std::string& lines, std::uintmax_t limit) override {
        if (lines.empty()) return true;
        const DWORD waited = m_mutex.get() ? WaitForSingleObject(m_mutex.get(), kLockPatienceMs) : WAIT_FAILED;
        const bool locked = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        std::string refusal;
        bool wrote = false;
        {
            Handle file = OpenJournal(m_path, &refusal);
            LARGE_INTEGER size = {};
            if (file.Valid() && locked && GetFileSizeEx(file.Get(), &size) &&
                static_cast<std::uintmax_t>(size.QuadPart) + lines.size() > limit) {
                file.Reset();
                DropOlderHalf(m_path, limit);
                file = OpenJournal(m_path, &refusal);
            }
            wrote = file.Valid() && WriteWhole(file.Get(), lines);
        }
        if (locked) ReleaseMutex(m_mutex.get());
        return wrote;
    }

private:
    std::filesystem::path m_path;
    Mutex m_mutex;
};

// One mutex per journal: its name is made from the journal's full path, letter case
// folded as the file system folds it.
HANDLE JournalMutex(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    std::wstring key = (error ? path : full).wstring();
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    const std::wstring name = L"Local\\mirel-setup-journal-" + std::to_wstring(std::hash<std::wstring>()(key));
    return CreateMutexW(nullptr, FALSE, name.c_str());
}

}  // namespace

std::unique_ptr<JournalFile> OpenJournalFile(const std::filesystem::path& path, std::string* refusal) {
    refusal->clear();
    if (!OpenJournal(path, refusal).Valid()) return nullptr;
    return std::make_unique<Win32JournalFile>(path, JournalMutex(path));
}

}  // namespace journal
