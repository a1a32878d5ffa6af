#pragma once
// A file system that passes every call on to another one: the base of wrappers that
// watch or change a few calls and leave the rest to the file system they wrap.
#include "platform/file_system.h"

namespace plat {

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : m_inner(inner) {}

    std::string LogicalDriveStrings() override { return m_inner.LogicalDriveStrings(); }
    DriveType GetDriveType(const std::string& root) override { return m_inner.GetDriveType(root); }
    bool GetFreeBytes(const std::string& path, std::uint64_t* freeBytes) override {
        return m_inner.GetFreeBytes(path, freeBytes);
    }
    bool Exists(const std::string& path) override { return m_inner.Exists(path); }
    bool GetStatus(const std::string& path, FileStatus* status) override { return m_inner.GetStatus(path, status); }
    bool CreateFolder(const std::string& path) override { return m_inner.CreateFolder(path); }
    bool RemoveFolder(const std::string& path) override { return m_inner.RemoveFolder(path); }
    bool RemoveFile(const std::string& path) override { return m_inner.RemoveFile(path); }
    std::unique_ptr<File> OpenForRead(const std::string& path) override { return m_inner.OpenForRead(path); }
    std::unique_ptr<File> OpenForWrite(const std::string& path) override { return m_inner.OpenForWrite(path); }
    bool SetStatus(const std::string& path, const FileStatus& status) override {
        return m_inner.SetStatus(path, status);
    }
    std::unique_ptr<FolderEnumeration> Enumerate(const std::string& pattern) override {
        return m_inner.Enumerate(pattern);
    }
    bool FlushDrive(const std::string& path) override { return m_inner.FlushDrive(path); }

protected:
    FileSystem& inner() { return m_inner; }

private:
    FileSystem& m_inner;
};

}  // namespace plat
