#include "numerics/TextCodec.h"

#include <cstdint>
#include <utility>

bool isValidUtf8(std::string_view s) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        uint32_t cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (int k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

namespace {
// Code points of the bytes 0x80..0xBF in Windows-1251; 0xC0..0xFF are U+0410..U+044F.
const uint16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457};

}  // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) out += ch;
        else if (c >= 0xC0) appendUtf8(out, 0x0410 + (c - 0xC0));
        else appendUtf8(out, kCp1251High[c - 0x80]);
    }
    return out;
}

DecodedText decodeTextChecked(std::string text) {
    DecodedText out;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    if (isValidUtf8(text)) {
        out.text = std::move(text);
        return out;
    }
    const std::string_view bytes = text;
    size_t sequences = 0, stray = 0, firstStray = 0;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t at = i;
        nextUtf8(bytes, i);
        if (i - at > 1) {
            ++sequences;
        } else if (stray++ == 0) {
            firstStray = at;
        }
    }
    if (sequences <= stray) {
        out.text = cp1251ToUtf8(bytes);
        return out;
    }
    out.text.reserve(bytes.size() + 2 * stray);
    for (size_t i = 0; i < bytes.size();) appendUtf8(out.text, nextUtf8(bytes, i));
    out.damagedLine = 1;
    for (size_t i = 0; i < firstStray; ++i)
        if (bytes[i] == '\n') ++out.damagedLine;
    return out;
}

std::string decodeText(std::string_view bytes) { return decodeTextChecked(std::string(bytes)).text; }

std::string utf8Left(std::string_view s, size_t n) {
    size_t count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == n) return std::string(s.substr(0, i));
            ++count;
        }
    }
    return std::string(s);
}

char32_t nextUtf8(std::string_view s, size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int len = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    }
    bool good = len > 0 && i + static_cast<size_t>(len) <= s.size();
    for (int k = 1; good && k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((cc & 0xC0) != 0x80) good = false;
        else cp = (cp << 6) | (cc & 0x3F);
    }
    if (good && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                 (cp >= 0xD800 && cp <= 0xDFFF)))
        good = false;
    if (!good) {
        ++i;
        return U'\uFFFD';
    }
    i += static_cast<size_t>(len);
    return cp;
}
