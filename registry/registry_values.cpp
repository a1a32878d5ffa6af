// Writing and reading single registry values of an open key.
#include <array>
#include <cstdint>
#include <vector>

#include "app/installer_dlg.h"

#include "registry/name_buffers.h"

int CInstallerDlg::WriteStringValue(plat::RegKeyHandle key, const std::string& valueName, const std::string& text) {
    // REG_SZ data carries its terminating zero byte; an empty text is that byte alone.
    const auto* data = reinterpret_cast<const unsigned char*>(text.c_str());
    const auto size = static_cast<std::uint32_t>(text.size() + 1);
    return m_platform.registry.SetValue(key, valueName, plat::kRegSz, data, size) == plat::kErrorSuccess ? 1 : 0;
}

int CInstallerDlg::WriteDwordValue(plat::RegKeyHandle key, const std::string& valueName, unsigned long value) {
    // REG_DWORD is little-endian whatever the host is.
    const auto word = static_cast<std::uint32_t>(value);
    const std::array<unsigned char, 4> data{
        static_cast<unsigned char>(word & 0xFF),
        static_cast<unsigned char>((word >> 8) & 0xFF),
        static_cast<unsigned char>((word >> 16) & 0xFF),
        static_cast<unsigned char>((word >> 24) & 0xFF),
    };
    return m_platform.registry.SetValue(key, valueName, plat::kRegDword, data.data(), 4) == plat::kErrorSuccess ? 1
                                                                                                          : 0;
}

int CInstallerDlg::ReadStringValue(plat::RegKeyHandle key, const std::string& valueName, std::string& text) {
    // The most a string value may occupy to be read back: larger data is refused, not cut.
    const std::uint32_t kReadBufferSize = registry::ReadBufferSize(CodePage());
    std::vector<unsigned char> buffer(kReadBufferSize);
    std::uint32_t type = plat::kRegNone;
    std::uint32_t size = kReadBufferSize;
    // Any value type is taken as text: what counts is the bytes before the first zero.
    if (m_platform.registry.QueryValue(key, valueName, &type, buffer.data(), &size) != plat::kErrorSuccess) return 0;

    std::uint32_t length = 0;
    while (length < kReadBufferSize && buffer[length] != 0) ++length;
    text.assign(reinterpret_cast<const char*>(buffer.data()), length);
    return 1;
}
