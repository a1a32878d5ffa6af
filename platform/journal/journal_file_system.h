#pragma once
// The file system wrapper of the journal: folders created and removed, files removed,
// each file copied with its source and size, and every call that failed with the
// system's error. Private to the journal platform.
#include <map>
#include <memory>

#include "platform/forwarding_file_system.h"
#include "platform/journal/journal.h"

namespace journal {

class JournaledFile;

// The files a journal file system opened that are still open, by the plat::File the
// caller holds: a transfer from one of them finds its destination's real file here.
using OpenJournaledFiles = std::map<const plat::File*, JournaledFile*>;

// The drive queries and Exists pass through unjournaled: not finding a name is an
// answer, not a failure.
class JournalFileSystem : public plat::ForwardingFileSystem {
public:
    JournalFileSystem(plat::FileSystem& real, plat::SystemErrors& errors, Journal& journal);

    bool GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) override;
    bool GetStatus(const std::string& path, plat::FileStatus* status) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::unique_ptr<plat::File> OpenForRead(const std::string& path) override;
    std::unique_ptr<plat::File> OpenForWrite(const std::string& path) override;
    bool SetStatus(const std::string& path, const plat::FileStatus& status) override;
    std::unique_ptr<plat::FolderEnumeration> Enumerate(const std::string& pattern) override;
    bool FlushDrive(const std::string& path) override;

    // What became of a file opened for writing: its source (the file last opened for
    // reading) and the bytes it took. A copy is whole once its status is applied.
    struct Written {
        std::string source;
        std::uint64_t bytes = 0;
        bool failed = false;
    };

private:
    // Notes the failure of `operation` on `path`; reads the system's error first.
    void Failed(const char* operation, const std::string& path);
    // Passes `done` on, noting the change or the failure of `operation`.
    bool Noted(bool done, const char* operation, const char* change, const std::string& path);

    plat::SystemErrors& m_errors;
    Journal& m_journal;
    std::string m_lastSource;
    std::map<std::string, std::shared_ptr<Written>> m_written;
    std::shared_ptr<OpenJournaledFiles> m_openFiles = std::make_shared<OpenJournaledFiles>();
};

}  // namespace journal
