#include "app/installer_dlg.h"
#include "app/mbcs_text.h"

// Items may be quoted so that they can hold the delimiter; a quote opens an item only
// as the very first character of what remains.
int CInstallerDlg::SplitList(std::string text, CStringArray& items, char delimiter) const {
    const plat::CodePage codePage = CodePage();
    items.clear();
    while (!text.empty()) {
        if (text[0] == '"') {
            const std::string::size_type q = mbcs::Find(codePage, text, '"', 1);
            if (q != mbcs::npos) {
                items.push_back(text.substr(1, q - 1));
                // The character after the closing quote is taken to be the delimiter.
                text.erase(0, q + 2 < text.size() ? q + 2 : text.size());
                continue;
            }
        }
        const std::string::size_type p = mbcs::Find(codePage, text, delimiter);
        if (p == mbcs::npos) {
            items.push_back(text);
            break;
        }
        items.push_back(text.substr(0, p));
        text.erase(0, p + 1);
    }
    return static_cast<int>(items.size());
}
