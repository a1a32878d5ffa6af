#include "platform/fault/fault_file_system.h"

#include "platform/fault/fault_name_match.h"
#include "platform/ascii.h"

namespace faultplat {
namespace {

class FaultFile : public plat::File {
public:
    FaultFile(std::unique_ptr<plat::File> real, FaultState& state, std::string path, bool failsAfterFirstBlock)
        : m_real(std::move(real)), m_state(state), m_path(std::move(path)), m_failsAfterFirstBlock(failsAfterFirstBlock) {}

    bool Read(void* buffer, std::size_t size, std::size_t* got) override {
        if (m_state.Fails(Op::Read, m_path)) return false;
        if (m_failsAfterFirstBlock) {
            if (m_blocksRead > 0) return m_state.Inject(Op::Read, m_path);
            // A file that fits in the first block has nothing after it: fail at once.
            plat::FileStatus status;
            if (!m_real->GetStatus(&status) || status.size <= static_cast<std::int64_t>(size)) {
                return m_state.Inject(Op::Read, m_path);
            }
        }
        if (!m_real->Read(buffer, size, got)) return false;
        ++m_blocksRead;
        return true;
    }

    bool Write(const void* buffer, std::size_t size) override {
        if (m_state.Fails(Op::Write, m_path)) return false;
        const std::optional<std::uint64_t>& limit = m_state.plan.diskFullAfterBytes;
        if (limit && m_state.counters.bytesWritten + size > *limit) return m_state.Inject(Op::Write, m_path);
        if (!m_real->Write(buffer, size)) return false;
        m_state.counters.bytesWritten += size;
        return true;
    }

    bool GetStatus(plat::FileStatus* status) override {
        if (m_state.Fails(Op::Status, m_path)) return false;
        return m_real->GetStatus(status);
    }

private:
    std::unique_ptr<plat::File> m_real;
    FaultState& m_state;
    std::string m_path;
    bool m_failsAfterFirstBlock;
    int m_blocksRead = 0;
};

char DriveLetterOf(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return 0;
    return ascii::ToUpper(path[0]);
}

}  // namespace

FaultFileSystem::FaultFileSystem(plat::FileSystem& real, FaultState& state) : m_real(real), m_state(state) {}

std::string FaultFileSystem::LogicalDriveStrings() { return m_real.LogicalDriveStrings(); }

plat::DriveType FaultFileSystem::GetDriveType(const std::string& root) { return m_real.GetDriveType(root); }

bool FaultFileSystem::GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) {
    const auto planned = m_state.plan.freeBytes.find(DriveLetterOf(path));
    if (planned != m_state.plan.freeBytes.end()) {
        *freeBytes = planned->second;
        return true;
    }
    return m_real.GetFreeBytes(path, freeBytes);
}

// A status query that fails finds nothing, as a name the system cannot look up.
bool FaultFileSystem::Exists(const std::string& path) {
    if (m_state.Fails(Op::Status, path)) return false;
    return m_real.Exists(path);
}

bool FaultFileSystem::GetStatus(const std::string& path, plat::FileStatus* status) {
    if (m_state.Fails(Op::Status, path)) return false;
    return m_real.GetStatus(path, status);
}

bool FaultFileSystem::CreateFolder(const std::string& path) {
    if (m_state.Fails(Op::CreateFolder, path)) return false;
    const std::string& name = m_state.plan.failCreateFolderName;
    if (!name.empty() && LastComponentEquals(m_state.codePage, path, name)) {
        return m_state.Inject(Op::CreateFolder, path);
    }
    if (!m_real.CreateFolder(path)) return false;
    ++m_state.counters.foldersCreated;
    return true;
}

bool FaultFileSystem::RemoveFolder(const std::string& path) {
    if (m_state.Fails(Op::Delete, path)) return false;
    return m_real.RemoveFolder(path);
}

bool FaultFileSystem::RemoveFile(const std::string& path) {
    if (m_state.Fails(Op::Delete, path)) return false;
    return m_real.RemoveFile(path);
}

std::unique_ptr<plat::File> FaultFileSystem::OpenForRead(const std::string& path) {
    if (m_state.Fails(Op::Open, path)) return nullptr;
    std::unique_ptr<plat::File> real = m_real.OpenForRead(path);
    if (!real) return nullptr;
    const std::string& name = m_state.plan.failReadName;
    const bool poisoned = !name.empty() && LastComponentEquals(m_state.codePage, path, name);
    return std::make_unique<FaultFile>(std::move(real), m_state, path, poisoned);
}

std::unique_ptr<plat::File> FaultFileSystem::OpenForWrite(const std::string& path) {
    if (m_state.Fails(Op::Open, path)) return nullptr;
    std::unique_ptr<plat::File> real = m_real.OpenForWrite(path);
    if (!real) return nullptr;
    return std::make_unique<FaultFile>(std::move(real), m_state, path, false);
}

bool FaultFileSystem::SetStatus(const std::string& path, const plat::FileStatus& status) {
    if (m_state.Fails(Op::Status, path)) return false;
    return m_real.SetStatus(path, status);
}

std::unique_ptr<plat::FolderEnumeration> FaultFileSystem::Enumerate(const std::string& pattern) {
    if (m_state.Fails(Op::List, pattern)) return nullptr;
    return m_real.Enumerate(pattern);
}

}  // namespace faultplat
