#include "core/cp1252.h"

#include <array>
#include <cstdint>

#include "core/utf8.h"

namespace quarbel {

namespace {

// Code points of the bytes 0x80 to 0x9F; the five unassigned bytes keep their C1 values.
constexpr std::array<char32_t, 32> HighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t codePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? HighTable[byte - 0x80] : char32_t{byte};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; false on a malformed one.
bool nextCodePoint(std::string_view text, std::size_t& i, char32_t& c) {
    const std::size_t length = utf8SequenceLength(text, i);
    if (length == 0) return false;
    const auto lead = static_cast<unsigned char>(text[i]);
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += length;
    return true;
}

}  // namespace

std::u32string fileNameCharacters(std::string_view name) {
    std::u32string characters;
    for (std::size_t i = 0; i < name.size();) {
        char32_t c = 0;
        if (!nextCodePoint(name, i, c)) {
            characters.clear();
            for (char b : name)
                characters += codePoint(static_cast<unsigned char>(b));
            break;
        }
        characters += c;
    }
    return characters;
}

char32_t cp1252Lower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
        case 0x160:  // Š
        case 0x152:  // Œ
        case 0x17D:  // Ž
            return c + 1;
        case 0x178:  // Ÿ
            return 0xFF;
        default:
            return c;
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes)
        appendUtf8(out, codePoint(static_cast<unsigned char>(b)));
    return out;
}

bool utf8ToCp1252(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        if (!nextCodePoint(text, i, c)) return false;
        int found = -1;
        for (int b = 0; b < 256 && found < 0; ++b) {
            if (codePoint(static_cast<unsigned char>(b)) == c) found = b;
        }
        if (found < 0) return false;
        bytes += static_cast<char>(found);
    }
    return true;
}

}  // namespace quarbel
