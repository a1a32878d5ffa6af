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

// Strict UTF-8 decoding to UTF-16; false on malformed input (overlong forms, surrogates,
// truncated sequences).
bool Utf8ToUtf16(const std::string& text, std::u16string* wide);
// UTF-16 to UTF-8; false on an unpaired surrogate.
bool Utf16ToUtf8(const std::u16string& wide, std::string* text);

}  // namespace posixplat
