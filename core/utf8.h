// Text as people write it into files: telling UTF-8 from other bytes, a character at a time,
// and the blanks round a line.
#pragma once

#include <cstddef>
#include <string_view>

namespace quarbel {

inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// The length of the UTF-8 sequence at text[i], or 0 when it is malformed: cut short,
// longer than needed, a surrogate or past U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);

bool isUtf8(std::string_view text);

// The text without the spaces and tabs at either end.
std::string_view trimmed(std::string_view text);

}  // namespace quarbel
