// Pack titles and author names are stored as Windows-1252 bytes; the game works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quarbel {

std::string cp1252ToUtf8(std::string_view bytes);

// The inverse for texts that Windows-1252 can hold; false when a character cannot be stored.
bool utf8ToCp1252(std::string_view text, std::string& bytes);

// The characters of a file name: its UTF-8 text, or its bytes read as Windows-1252 where the
// name is not UTF-8 (a name written by the old platform itself).
std::u32string fileNameCharacters(std::string_view name);

// The small letter of a capital of Windows-1252 (A to Z, À to Þ but ×, Š, Œ, Ž, Ÿ); any
// other character as it is.
char32_t cp1252Lower(char32_t c);

}  // namespace quarbel
