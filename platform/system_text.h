#pragma once
// The system's own text services: its ANSI code page, its string resources and the
// conversion to UTF-16 that file names for the shell need.
#include <string>

#include "platform/text.h"

namespace plat {

class SystemText {
public:
    virtual ~SystemText() = default;
    virtual CodePage AnsiCodePage() = 0;
    // The string-table entry `id` in the ANSI code page; empty when absent.
    virtual std::string LoadString(unsigned id) = 0;
    // MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED): false on invalid input or when the
    // result with its terminator needs more than `capacity` UTF-16 units.
    virtual bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) = 0;
};

}  // namespace plat
