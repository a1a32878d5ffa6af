#pragma once
// Shell links (.lnk files) and the component system they need.
#include <memory>
#include <string>

namespace plat {

class ShellLink {
public:
    virtual ~ShellLink() = default;
    virtual bool SetPath(const std::string& path) = 0;
    // A null argument string: the link has no arguments.
    virtual bool ClearArguments() = 0;
    virtual bool SetWorkingDirectory(const std::string& folder) = 0;
    // Saves the link under a UTF-16 file name (IPersistFile::Save with remember set).
    virtual bool Save(const std::u16string& fileName) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Initialises the component system on this thread; true when links can be made.
    virtual bool InitializeComponents() = 0;
    // Null when the link object cannot be created.
    virtual std::unique_ptr<ShellLink> CreateLink() = 0;
};

}  // namespace plat
