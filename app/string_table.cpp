#include "app/installer_dlg.h"
#include "app/mbcs_text.h"

// Entries are loaded each time they are needed, never cached, so the installer always
// shows what the resources hold.
std::string CInstallerDlg::LoadString(unsigned id) const { return m_platform.text.LoadString(id); }

// Replaces every "%1" in string `id` with `argument`.
std::string CInstallerDlg::FormatString1(unsigned id, const std::string& argument) const {
    const plat::CodePage codePage = CodePage();
    const std::string pattern = LoadString(id);
    std::string result;
    for (std::string::size_type pos = 0; pos < pattern.size();) {
        const std::string::size_type length = mbcs::CharLength(codePage, pattern, pos);
        if (length == 1 && pattern[pos] == '%' && pos + 1 < pattern.size() && pattern[pos + 1] == '1') {
            result += argument;
            pos += 2;
            continue;
        }
        result.append(pattern, pos, length);
        pos += length;
    }
    return result;
}
