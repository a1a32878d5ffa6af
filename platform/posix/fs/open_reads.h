#pragma once
// The files this process has open for reading, by device and inode. Windows opens a copy's
// source with read sharing only, so the same file cannot then be opened for writing by
// any name; truncating it here would destroy the source before it is read.
#include <sys/types.h>

#include <map>
#include <memory>
#include <utility>

namespace posixplat {

class OpenReads {
public:
    using Identity = std::pair<dev_t, ino_t>;

    // Held by an open file for as long as it is open.
    class Share {
    public:
        Share() = default;
        Share(std::shared_ptr<std::map<Identity, int>> open, Identity identity);
        ~Share();
        Share(Share&& other) noexcept;
        Share& operator=(Share&& other) noexcept;
        Share(const Share&) = delete;
        Share& operator=(const Share&) = delete;

    private:
        void Release();
        std::shared_ptr<std::map<Identity, int>> m_open;
        Identity m_identity{};
    };

    OpenReads();
    Share Add(dev_t device, ino_t inode);
    bool Contains(dev_t device, ino_t inode) const;

private:
    // Shared with the shares, which may outlive this object.
    std::shared_ptr<std::map<Identity, int>> m_open;
};

}  // namespace posixplat
