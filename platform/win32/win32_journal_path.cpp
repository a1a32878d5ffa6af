#include "platform/win32/win32_journal_path.h"

#include "platform/journal/journal_places.h"
#include "platform/win32/win32_api.h"

namespace win32plat {

std::filesystem::path TempJournalPath() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    // Without a temporary folder the journal goes beside the program's current folder.
    const std::filesystem::path base = (length == 0 || length > MAX_PATH) ? std::filesystem::path(L".")
                                                                          : std::filesystem::path(folder);
    return base / journal::kTempJournalName;
}

}  // namespace win32plat
