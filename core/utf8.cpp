#include "core/utf8.h"

namespace quarbel {

std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return 0;
    }
    // A longer form than needed would let two texts stand for the same characters.
    const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
    if (length == 2 && lead < 0xC2) return 0;
    if (length == 3 && ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)))
        return 0;
    if (length == 4 &&
        ((lead == 0xF0 && second < 0x90) || lead > 0xF4 || (lead == 0xF4 && second >= 0x90))) {
        return 0;
    }
    return length;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace quarbel
