#pragma once
// Text services of the system: its ANSI code page (GetACP), the string table of the
// running program (LoadStringA, so texts arrive in that code page) and the conversion
// to UTF-16 for shell file names.
#include "platform/system_text.h"

namespace win32plat {

class Win32SystemText : public plat::SystemText {
public:
    plat::CodePage AnsiCodePage() override;
    std::string LoadString(unsigned id) override;
    bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) override;
};

}  // namespace win32plat
