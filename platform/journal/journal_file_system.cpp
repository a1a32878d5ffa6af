#include "platform/journal/journal_file_system.h"

namespace journal {

class JournaledFile : public plat::File {
public:
    JournaledFile(std::unique_ptr<plat::File> real, plat::SystemErrors& errors, Journal& journal, std::string path,
                  std::shared_ptr<JournalFileSystem::Written> written, std::shared_ptr<OpenJournaledFiles> open)
        : m_real(std::move(real)), m_errors(errors), m_journal(journal), m_path(std::move(path)),
          m_written(std::move(written)), m_open(std::move(open)) {
        (*m_open)[this] = this;
    }
    ~JournaledFile() override { m_open->erase(this); }
    JournaledFile(const JournaledFile&) = delete;
    JournaledFile& operator=(const JournaledFile&) = delete;

    bool Read(void* buffer, std::size_t size, std::size_t* got) override {
        if (m_real->Read(buffer, size, got)) return true;
        Failed("read", m_path);
        return false;
    }

    bool Write(const void* buffer, std::size_t size) override {
        if (m_real->Write(buffer, size)) {
            if (m_written) m_written->bytes += size;
            return true;
        }
        Failed("write", m_path);
        if (m_written) m_written->failed = true;
        return false;
    }

    bool GetStatus(plat::FileStatus* status) override {
        if (m_real->GetStatus(status)) return true;
        Failed("status of", m_path);
        return false;
    }

    // The real files move the bytes between themselves, so that a copy the system does
    // without passing them through the process still does.
    bool TransferTo(plat::File& out, void* buffer, std::size_t size, std::size_t* got) override {
        const auto found = m_open->find(&out);
        JournaledFile* journaled = found == m_open->end() ? nullptr : found->second;
        plat::File& realOut = journaled ? *journaled->m_real : out;
        if (m_real->TransferTo(realOut, buffer, size, got)) {
            if (journaled && journaled->m_written) journaled->m_written->bytes += *got;
            return true;
        }
        if (journaled && journaled->m_written) journaled->m_written->failed = true;
        Failed("copy", m_path, journaled ? &journaled->m_path : nullptr);
        return false;
    }

private:
    // The system's error is read before anything else can replace it.
    void Failed(const char* operation, const std::string& path, const std::string* destination = nullptr) {
        const plat::SystemError error = m_errors.LastError();
        if (!m_journal.Recording()) return;
        std::string what = m_journal.Utf8(path);
        if (destination) what += " -> " + m_journal.Utf8(*destination);
        m_journal.Failure(operation, what, error);
    }

    std::unique_ptr<plat::File> m_real;
    plat::SystemErrors& m_errors;
    Journal& m_journal;
    std::string m_path;
    std::shared_ptr<JournalFileSystem::Written> m_written;
    std::shared_ptr<OpenJournaledFiles> m_open;
};

JournalFileSystem::JournalFileSystem(plat::FileSystem& real, plat::SystemErrors& errors, Journal& journal)
    : plat::ForwardingFileSystem(real), m_errors(errors), m_journal(journal) {}

void JournalFileSystem::Failed(const char* operation, const std::string& path) {
    const plat::SystemError error = m_errors.LastError();
    if (m_journal.Recording()) m_journal.Failure(operation, m_journal.Utf8(path), error);
}

bool JournalFileSystem::GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) {
    if (inner().GetFreeBytes(path, freeBytes)) return true;
    Failed("free space of", path);
    return false;
}

bool JournalFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    if (inner().GetStatus(path, status)) return true;
    Failed("status of", path);
    return false;
}

bool JournalFileSystem::Noted(bool done, const char* operation, const char* change, const std::string& path) {
    if (!done) {
        Failed(operation, path);
        return false;
    }
    if (m_journal.Recording()) {
        std::string line = change;
        line += ' ';
        m_journal.AppendUtf8(line, path);
        m_journal.Change(line);
    }
    return true;
}

bool JournalFileSystem::CreateFolder(const std::string& path) {
    return Noted(inner().CreateFolder(path), "create folder", "created folder", path);
}

bool JournalFileSystem::RemoveFolder(const std::string& path) {
    return Noted(inner().RemoveFolder(path), "remove folder", "removed folder", path);
}

bool JournalFileSystem::RemoveFile(const std::string& path) {
    if (!Noted(inner().RemoveFile(path), "remove file", "removed file", path)) return false;
    m_written.erase(path);
    return true;
}

std::unique_ptr<plat::File> JournalFileSystem::OpenForRead(const std::string& path) {
    std::unique_ptr<plat::File> real = inner().OpenForRead(path);
    if (!real) {
        Failed("open for reading", path);
        return nullptr;
    }
    m_lastSource = path;
    return std::make_unique<JournaledFile>(std::move(real), m_errors, m_journal, path, nullptr, m_openFiles);
}

std::unique_ptr<plat::File> JournalFileSystem::OpenForWrite(const std::string& path) {
    std::unique_ptr<plat::File> real = inner().OpenForWrite(path);
    if (!real) {
        Failed("open for writing", path);
        return nullptr;
    }
    auto written = std::make_shared<Written>();
    written->source = m_lastSource;
    m_written[path] = written;
    return std::make_unique<JournaledFile>(std::move(real), m_errors, m_journal, path, std::move(written), m_openFiles);
}

// The copy applies the source's status to a whole copy only: that makes it a copied file.
bool JournalFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    if (!inner().SetStatus(path, status)) {
        Failed("set status of", path);
        return false;
    }
    const auto written = m_written.find(path);
    if (written == m_written.end()) return true;
    const std::shared_ptr<Written> copy = std::move(written->second);
    m_written.erase(written);
    if (m_journal.Recording() && !copy->failed) {
        // One line per copied file: built in one string.
        std::string line;
        line.reserve(copy->source.size() + path.size() + 48);
        line += "copied ";
        m_journal.AppendUtf8(line, copy->source);
        line += " -> ";
        m_journal.AppendUtf8(line, path);
        line += " (";
        line += std::to_string(copy->bytes);
        line += " bytes)";
        m_journal.Change(line);
    }
    return true;
}

std::unique_ptr<plat::FolderEnumeration> JournalFileSystem::Enumerate(const std::string& pattern) {
    std::unique_ptr<plat::FolderEnumeration> entries = inner().Enumerate(pattern);
    if (!entries) Failed("list", pattern);
    return entries;
}

bool JournalFileSystem::FlushDrive(const std::string& path) {
    return Noted(inner().FlushDrive(path), "flush the drive of", "flushed the drive of", path);
}

}  // namespace journal
