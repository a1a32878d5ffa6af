#pragma once
// One hive file on disk: <folder>/<HIVE NAME>.reg. Readers read whatever file is in
// place (it is only ever replaced by rename, so it is always whole). A change re-reads
// the file under an exclusive flock on <HIVE NAME>.reg.lock, edits it, writes
// <HIVE NAME>.reg.tmp, flushes it, renames it over the hive and flushes the folder, all
// before the lock is released, so two processes never lose each other's changes and a
// crash leaves the old or the new file. A file that does not parse is never replaced.
//
// The lock and temporary files are opened in the folder without following a symbolic
// link: a link planted there never gets a file elsewhere created or overwritten. A link
// at the lock file refuses every change; one at the temporary file is removed.
//
// The parsed hive is kept between calls while its file is unchanged (hive_cache.h).
#include <functional>
#include <memory>
#include <string>

#include "platform/posix/registry/store/hive_cache.h"
#include "platform/posix/registry/store/hive_format.h"
#include "platform/posix/registry/store/hive_tree.h"
#include "platform/registry.h"

namespace posixplat::reg {

class HiveStore {
public:
    // Fills a hive that is being created because its file is absent.
    using Seed = std::function<void(HiveKey& root)>;

    // <folder>/<fileName> in `format`; `hiveName` names its root key.
    HiveStore(std::string folder, std::string fileName, std::string hiveName, Seed seed,
              std::unique_ptr<HiveFormat> format);
    bool WideStrings() const { return m_format->WideStrings(); }

    // Calls `read` with the hive as it is on disk now (an absent file is an empty hive,
    // or, for a hive with a seed, is first created). kErrorBadDb when it does not parse.
    plat::RegResult Read(const std::function<plat::RegResult(const HiveKey& root)>& read);

    // Calls `change` with the current hive under the exclusive lock; when it succeeds and
    // sets `*changed`, the file is replaced before the lock is released. Returns the
    // result of `change`, or the error that kept the change from being read or written.
    plat::RegResult Modify(const std::function<plat::RegResult(HiveKey& root, bool* changed)>& change);

    // True when the hive file is absent or parses. Otherwise false, with what is wrong
    // in `problem`: "<file path>: line N: <reason>" for text that does not parse,
    // "<file path>: <reason>" for a file that cannot be read or is not a regular file.
    bool Check(std::string* problem);

private:
    plat::RegResult ReplaceFile(int folder, const std::string& text) const;

    std::string m_folder;
    std::string m_hiveName;
    std::string m_filePath;
    std::string m_fileName;
    std::string m_lockName;
    std::string m_tempName;
    Seed m_seed;
    std::unique_ptr<HiveFormat> m_format;  // on the heap: the cache keeps its address
    HiveCache m_cache;
};

}  // namespace posixplat::reg
