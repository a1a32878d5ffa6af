#pragma once
// The platform conformance suite: the file-system and registry behaviour the core relies
// on, written once over plat::FileSystem& and plat::Registry& and compiled into the test
// program of each build (Linux: the sandbox's platform; Windows: the real system, under
// Wine here). Each build supplies its system in conformance_system_<build>.cpp.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace conformance {

class ConformanceSystem {
public:
    virtual ~ConformanceSystem() = default;
    virtual plat::FileSystem& fileSystem() = 0;
    virtual plat::Registry& registry() = 0;
    // A fresh empty folder on a fixed drive (Windows path, no trailing backslash) and a
    // fresh key path below HKEY_CURRENT_USER; both go with this object.
    virtual const std::string& folder() const = 0;
    virtual const std::string& keyPath() const = 0;
    // "表" and "ハルネア" in the system's ANSI code page. The trail byte of 表 is a
    // backslash in code page 932.
    virtual std::string Hyo() const = 0;
    virtual std::string Harunea() const = 0;

    // The one allowance: Wine's registry lists sub-keys in the order of names folded to
    // lower case, Windows (and the sandbox's registry) in that of names folded to upper
    // case, which differ for the punctuation between 'Z' and 'a' ("[\]^_`"). Nothing
    // the installer does depends on it; the order of letters and digits is the same.
    virtual bool ListsSubKeysFoldedToLowerCase() const = 0;
    // The second: Wine (8) creates a key whose name is longer than 255 characters,
    // which Windows refuses with ERROR_INVALID_PARAMETER; the sandbox refuses it too.
    virtual bool AcceptsOverlongKeyNames() const = 0;
};

std::unique_ptr<ConformanceSystem> OpenConformanceSystem();

class Conformance : public ::testing::Test {
protected:
    Conformance() : m_system(OpenConformanceSystem()) {}
    ConformanceSystem& system() { return *m_system; }
    plat::FileSystem& fs() { return m_system->fileSystem(); }
    plat::Registry& registry() { return m_system->registry(); }
    // Below the fresh folder or key.
    std::string Path(const std::string& below) const { return m_system->folder() + "\\" + below; }
    std::string Key(const std::string& below) const {
        return below.empty() ? m_system->keyPath() : m_system->keyPath() + "\\" + below;
    }

private:
    std::unique_ptr<ConformanceSystem> m_system;
};

}  // namespace conformance
