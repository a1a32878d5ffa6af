#pragma once
// Text services on Linux: UTF-8 is the ANSI code page, the string table is compiled in.
#include "platform/system_text.h"

namespace posixplat {

class PosixSystemText : public plat::SystemText {
public:
    plat::CodePage AnsiCodePage() override;
    std::string LoadString(unsigned id) override;
    bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) override;
};

}  // namespace posixplat
