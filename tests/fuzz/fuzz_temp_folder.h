#pragma once
// A folder of its own under /tmp for a fuzz target's files, removed with everything in it
// when the target ends.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "tests/fuzz/fuzz_check.h"

class FuzzTempFolder {
public:
    // `prefix` names the folder ("/tmp/<prefix>-XXXXXX").
    explicit FuzzTempFolder(const std::string& prefix) {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~FuzzTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FuzzTempFolder(const FuzzTempFolder&) = delete;
    FuzzTempFolder& operator=(const FuzzTempFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};
