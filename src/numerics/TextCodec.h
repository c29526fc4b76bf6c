#pragma once
// Text encoding of files: UTF-8 in memory and in files written; files that are not valid
// UTF-8 (written by the earlier Windows program) are read as Windows-1251.
#include <cstddef>
#include <string>
#include <string_view>

bool isValidUtf8(std::string_view bytes);
std::string cp1251ToUtf8(std::string_view bytes);
// A file's bytes read as text.
struct DecodedText {
    std::string text;  // UTF-8, a leading BOM removed
    // The 1-based line of the first byte that belongs to no well-formed sequence of a text
    // that is UTF-8 otherwise (such a byte reads as U+FFFD); 0 when the text is whole.
    size_t damagedLine = 0;
};
// UTF-8 as it is. A text that is not valid UTF-8 is UTF-8 all the same when its well-formed
// multi-byte sequences outnumber its stray bytes (a UTF-8 file with a damaged byte: read in
// another code page, every name in it would come out garbled); otherwise it is read as
// Windows-1251, whose Cyrillic letters only now and then pair up into a valid sequence.
DecodedText decodeTextChecked(std::string bytes);
// The text of decodeTextChecked.
std::string decodeText(std::string_view bytes);
// The first n code points of a valid UTF-8 text.
std::string utf8Left(std::string_view s, size_t n);

// Appends a code point (at most U+10FFFF) as UTF-8.
inline void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
// Reads the code point at s[i] (i < s.size()) and moves i past it. A byte that does not begin
// a valid sequence (cut short, overlong, a surrogate, beyond U+10FFFF) gives U+FFFD and is
// skipped alone.
char32_t nextUtf8(std::string_view s, size_t& i);
