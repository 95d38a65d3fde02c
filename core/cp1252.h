// Pack titles and author names are stored as Windows-1252 bytes; the game works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quarbel {

std::string cp1252ToUtf8(std::string_view bytes);

// The inverse for texts that Windows-1252 can hold; false when a character cannot be stored.
bool utf8ToCp1252(std::string_view text, std::string& bytes);

}  // namespace quarbel
