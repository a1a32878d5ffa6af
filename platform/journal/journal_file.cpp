#include "platform/journal/journal_file.h"

namespace journal {

std::string NewerHalf(const std::string& text, std::uintmax_t limit) {
    // Half of the bound, or of the file when an earlier bound let it grow larger.
    const std::size_t half = static_cast<std::size_t>(limit / 2);
    if (text.size() <= half) return text;
    const std::size_t from = text.size() - half;
    const std::size_t cut = text.find('\n', from - 1);
    return cut == std::string::npos ? std::string() : text.substr(cut + 1);
}

}  // namespace journal
