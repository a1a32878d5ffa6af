#include "platform/posix/shell/posix_shell.h"

#include <cerrno>
#include <utility>

#include "platform/ascii.h"
#include "platform/posix/codepage/cp932_encoding.h"
#include "platform/utf16_text.h"
#include "platform/posix/shell/shell_link_file.h"
#include "platform/posix/shell/shell_link_writer.h"

namespace posixplat {
namespace {

// "X:\..." : the only kind of target a link's local base path can describe.
bool IsDrivePath(const std::u16string& path) {
    if (path.size() < 3 || path[1] != u':' || path[2] != u'\\' || path[0] >= 0x80) return false;
    const char letter = ascii::ToUpper(static_cast<char>(path[0]));
    return letter >= 'A' && letter <= 'Z';
}

// `letter` as IsDrivePath found it.
plat::DriveType DriveTypeOf(const std::vector<DriveMapping>& drives, char16_t letter) {
    const char upper = ascii::ToUpper(static_cast<char>(letter));
    for (const DriveMapping& drive : drives) {
        if (drive.letter == upper) return drive.type;
    }
    return plat::DriveType::NoRootDir;
}

class PosixShellLink : public plat::ShellLink {
public:
    PosixShellLink(PosixFileSystem& fileSystem, const PosixShell::SaveObserver& onSaved)
        : m_fileSystem(fileSystem), m_onSaved(onSaved) {}

    // Text arrives in the ANSI code page, which is UTF-8 here. What is refused here
    // without a system call says why in errno, as a failed call would.
    bool SetPath(const std::string& path) override {
        std::u16string wide;
        if (!plat::Utf8ToUtf16(path, &wide)) return Refuse(EILSEQ);
        m_path = path;
        m_widePath = std::move(wide);
        return true;
    }

    // The links written here never carry arguments, so there is nothing to clear.
    bool ClearArguments() override { return true; }

    bool SetWorkingDirectory(const std::string& folder) override {
        std::u16string wide;
        if (!plat::Utf8ToUtf16(folder, &wide)) return Refuse(EILSEQ);
        m_workingDirectory = std::move(wide);
        m_workingFolder = folder;
        return true;
    }

    bool Save(const std::u16string& fileName) override {
        std::vector<unsigned char> bytes;
        UniqueFd folder;
        std::string name;
        std::string windowsName;
        if (!Serialize(&bytes) || !FolderForSave(fileName, &folder, &name, &windowsName) ||
            !WriteShellLinkFile(folder.Get(), name, bytes)) {
            return false;
        }
        if (m_onSaved) m_onSaved(windowsName, m_workingFolder, m_path);
        return true;
    }

private:
    static bool Refuse(int error) {
        errno = error;
        return false;
    }

    // A link without a target it can describe is refused rather than saved pointing
    // nowhere.
    bool Serialize(std::vector<unsigned char>* bytes) {
        if (!IsDrivePath(m_widePath)) return Refuse(EINVAL);
        ShellLinkData link;
        link.targetPath = m_widePath;
        // A Japanese system reads the ANSI path in code page 932.
        link.targetPathAnsi = Utf16ToCp932(m_widePath);
        link.workingDirectory = m_workingDirectory;
        link.driveType = DriveTypeOf(m_fileSystem.Drives(), m_widePath[0]);
        // Like the system's own links, record what the target is when it exists; a link
        // to a target that does not exist (yet) is allowed and keeps zeros.
        plat::FileStatus status;
        if (m_fileSystem.GetStatus(m_path, &status)) {
            link.fileAttributes = status.attributes;
            link.creationTime = status.creationTime;
            link.accessTime = status.lastAccessTime;
            link.writeTime = status.lastWriteTime;
            link.fileSize = static_cast<std::uint32_t>(status.size);
        }
        *bytes = SerializeShellLink(link);
        return !bytes->empty() || Refuse(EINVAL);
    }

    bool FolderForSave(const std::u16string& fileName, UniqueFd* folder, std::string* entryName,
                       std::string* windowsPath) {
        // The name is a C string to the system: it ends at the first NUL.
        const std::u16string name = fileName.substr(0, fileName.find(u'\0'));
        std::string windowsName;
        if (name.empty() || name.back() == u'\\' || !plat::Utf16ToUtf8(name, &windowsName)) return Refuse(EINVAL);
        // An existing read-only file or a folder of that name is not replaced.
        plat::FileStatus existing;
        if (m_fileSystem.GetStatus(windowsName, &existing)) {
            if (existing.attributes & plat::kAttrDirectory) return Refuse(EISDIR);
            if (existing.attributes & plat::kAttrReadOnly) return Refuse(EACCES);
        }
        *windowsPath = windowsName;
        return m_fileSystem.OpenFolderOf(windowsName, folder, entryName);
    }

    PosixFileSystem& m_fileSystem;
    PosixShell::SaveObserver m_onSaved;
    std::string m_workingFolder;
    std::string m_path;
    std::u16string m_widePath;
    std::u16string m_workingDirectory;
};

}  // namespace

PosixShell::PosixShell(PosixFileSystem& fileSystem, SaveObserver onSaved)
    : m_fileSystem(fileSystem), m_onSaved(std::move(onSaved)) {}

// There is no component system to start: links are written directly.
bool PosixShell::InitializeComponents() { return true; }

std::unique_ptr<plat::ShellLink> PosixShell::CreateLink() { return std::make_unique<PosixShellLink>(m_fileSystem, m_onSaved); }

}  // namespace posixplat
