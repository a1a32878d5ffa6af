#include "platform/posix/registry/current_user_seed.h"

#include <vector>

#include "platform/posix/registry/registry_key_path.h"

namespace posixplat::reg {
namespace {

void SetString(HiveKey& key, const char* name, const std::string& text) {
    std::string data = text;
    data += '\0';
    key.SetValue(name, plat::kRegSz, std::move(data));
}

}  // namespace

void SeedCurrentUserHive(HiveKey& root, const std::string& login) {
    std::vector<std::string> path;
    SplitKeyPath(kShellFoldersKey, &path);
    HiveKey* key = &root;
    for (const std::string& name : path) key = &key->AddSubKey(name);
    const std::string home = "C:\\users\\" + login;
    SetString(*key, "Desktop", home + "\\Desktop");
    SetString(*key, "Programs", home + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
}

}  // namespace posixplat::reg
