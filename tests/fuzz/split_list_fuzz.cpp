// CInstallerDlg::SplitList on any text and delimiter, under code page 932 and UTF-8.
// Without quotes the items joined by the delimiter give back the text (less a final
// delimiter); with quotes no item is longer than the text allows.
//
// Input: byte 0 picks the code page (low bit: 932 or UTF-8), byte 1 is the delimiter,
// the rest is the text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/headless_dialog_host.h"
#include "app/installer_dlg.h"
#include "app/mbcs_text.h"
#include "platform/posix/posix_platform.h"
#include "tests/support/string_override.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_temp_folder.h"

namespace {

// A dialog over a throw-away system root; SplitList reads only the code page, but the
// dialog is built over a whole platform.
class SplitListDialog {
public:
    SplitListDialog() {
        std::string error;
        m_real = posixplat::PosixPlatform::Open(m_root.path(), &error);
        FUZZ_CHECK(m_real != nullptr);
        m_text = std::make_unique<StringOverride>(m_real->platform().text);
        m_platform = std::make_unique<plat::Platform>(WithText(m_real->platform(), *m_text));
        m_dlg = std::make_unique<CInstallerDlg>(*m_platform, m_host);
    }
    int Split(plat::CodePage codePage, const std::string& text, CStringArray& items, char delimiter) {
        m_text->SetCodePage(codePage);
        return m_dlg->SplitList(text, items, delimiter);
    }

private:
    // Removed last, after the dialog and the platform over it.
    FuzzTempFolder m_root{"mirel-split-list-fuzz"};
    std::unique_ptr<posixplat::PosixPlatform> m_real;
    std::unique_ptr<StringOverride> m_text;
    std::unique_ptr<plat::Platform> m_platform;
    HeadlessDialogHost m_host;
    std::unique_ptr<CInstallerDlg> m_dlg;
};

std::string Join(const CStringArray& items, char delimiter) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) joined += delimiter;
        joined += items[i];
    }
    return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SplitListDialog dialog;
    if (size < 2) return 0;
    const plat::CodePage codePage = (data[0] & 1) ? plat::kCodePage932 : plat::kCodePageUtf8;
    const char delimiter = static_cast<char>(data[1]);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    CStringArray items;
    const int count = dialog.Split(codePage, text, items, delimiter);
    FUZZ_CHECK(count == static_cast<int>(items.size()));
    FUZZ_CHECK(text.empty() == items.empty());

    if (text.find('"') == std::string::npos && delimiter != '"') {
        const std::string joined = Join(items, delimiter);
        FUZZ_CHECK(joined == text || joined + delimiter == text);
        for (const std::string& item : items) FUZZ_CHECK(mbcs::Find(codePage, item, delimiter) == mbcs::npos);
    } else {
        std::size_t total = 0;
        for (const std::string& item : items) total += item.size();
        FUZZ_CHECK(total <= text.size());
    }
    return 0;
}
