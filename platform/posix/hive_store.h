#pragma once
// One hive file on disk: <folder>/<HIVE NAME>.reg. Readers read whatever file is in
// place (it is only ever replaced by rename, so it is always whole). A change re-reads
// the file under an exclusive flock on <HIVE NAME>.reg.lock, edits it, writes
// <HIVE NAME>.reg.tmp, flushes it, renames it over the hive and flushes the folder, all
// before the lock is released, so two processes never lose each other's changes and a
// crash leaves the old or the new file. A file that does not parse is never replaced.
#include <functional>
#include <string>

#include "platform/posix/hive_tree.h"
#include "platform/registry.h"

namespace posixplat::reg {

class HiveStore {
public:
    // Fills a hive that is being created because its file is absent.
    using Seed = std::function<void(HiveKey& root)>;

    HiveStore(std::string folder, std::string hiveName, Seed seed = nullptr);

    const std::string& hiveName() const { return m_hiveName; }
    const std::string& filePath() const { return m_filePath; }

    // Calls `read` with the hive as it is on disk now (an absent file is an empty hive,
    // or, for a hive with a seed, is first created). kErrorBadDb when it does not parse.
    plat::RegResult Read(const std::function<plat::RegResult(const HiveKey& root)>& read);

    // Calls `change` with the current hive under the exclusive lock; when it succeeds and
    // sets `*changed`, the file is replaced before the lock is released. Returns the
    // result of `change`, or the error that kept the change from being read or written.
    plat::RegResult Modify(const std::function<plat::RegResult(HiveKey& root, bool* changed)>& change);

private:
    enum class Load { kOk, kAbsent };
    plat::RegResult LoadFile(HiveKey* root, Load* state) const;
    plat::RegResult ReplaceFile(const HiveKey& root) const;

    std::string m_folder;
    std::string m_hiveName;
    std::string m_filePath;
    std::string m_lockPath;
    std::string m_tempPath;
    Seed m_seed;
};

}  // namespace posixplat::reg
