#pragma once
// Text encoding of files: UTF-8 in memory and in files written; files that are not valid
// UTF-8 (written by the earlier Windows program) are read as Windows-1251.
#include <string>
#include <string_view>

bool isValidUtf8(std::string_view bytes);
std::string cp1251ToUtf8(std::string_view bytes);
// UTF-8 as it is (a leading BOM removed), or the whole text decoded from Windows-1251.
std::string decodeText(std::string_view bytes);
// Number of code points of a valid UTF-8 text.
size_t utf8Length(std::string_view s);
// The first n code points of a valid UTF-8 text.
std::string utf8Left(std::string_view s, size_t n);
