#pragma once
// Text services on Windows: the program works in UTF-8 whatever the system's ANSI code
// page, reads its string table through LoadStringW and hands UTF-16 to the shell.
#include "platform/system_text.h"

namespace win32plat {

class Win32SystemText : public plat::SystemText {
public:
    plat::CodePage AnsiCodePage() override;
    std::string LoadString(unsigned id) override;
    bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) override;
};

}  // namespace win32plat
