#pragma once
// The text services the core works with: the code page of its narrow strings (UTF-8 on
// both builds, whatever the system's ANSI code page), its string resources and the
// conversion to UTF-16 that file names for the shell need.
#include <string>

#include "platform/text.h"

namespace plat {

class SystemText {
public:
    virtual ~SystemText() = default;
    // The code page of every narrow string the core holds; the core's text rules were
    // once those of the system's ANSI code page, hence the name.
    virtual CodePage AnsiCodePage() = 0;
    // The string-table entry `id` in that code page; empty when absent.
    virtual std::string LoadString(unsigned id) = 0;
    // MultiByteToWideChar of the core's code page: false on invalid input or when the
    // result with its terminator needs more than `capacity` UTF-16 units.
    virtual bool ToUtf16(const std::string& text, std::size_t capacity, std::u16string* wide) = 0;
};

}  // namespace plat
