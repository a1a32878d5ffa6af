#include <cstdint>

#include "app/installer_dlg.h"
#include "install/transfer_buffer.h"

namespace {

// The bar shows whole files: 0 while a file is incomplete, 100 once it is done.
int WholeFilePosition(std::int64_t copied, std::int64_t size) {
    if (size <= 0) return 100;
    return static_cast<int>((copied / size) * 100);
}

}  // namespace

int CInstallerDlg::CopyFileWithProgress(const std::string& destination, const std::string& source) {
    plat::FileSystem& fs = m_platform.fileSystem;
    m_host.SetProgressPos(IDC_PROGRESS, 0);

    TransferBuffer buffer(m_platform.memory);
    if (!buffer) return 0;

    // The source is opened first, so that a disc that cannot be read leaves a file the
    // user already has at the destination untouched.
    std::unique_ptr<plat::File> in = fs.OpenForRead(source);
    if (!in) return 0;
    std::unique_ptr<plat::File> out = fs.OpenForWrite(destination);
    if (!out) return 0;

    int result = 0;
    plat::FileStatus status;
    if (in->GetStatus(&status)) {
        result = 1;
        try {
            std::int64_t copied = 0;
            std::size_t got = 0;
            do {
                if (!in->TransferTo(*out, buffer.data(), buffer.size(), &got)) {
                    result = 0;
                    break;
                }
                copied += static_cast<std::int64_t>(got);
                m_host.SetProgressPos(IDC_PROGRESS, WholeFilePosition(copied, status.size));
            } while (got == buffer.size());
        } catch (...) {
            result = 0;
        }
    }

    buffer.Release();
    in.reset();
    out.reset();

    if (result) {
        plat::FileStatus applied = status;
        applied.attributes &= ~plat::kAttrReadOnly;
        if (!fs.SetStatus(destination, applied)) result = 0;
    }
    if (!result) fs.RemoveFile(destination);
    return result;
}
