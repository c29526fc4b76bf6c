#include "core/SafeFileName.h"

namespace {
constexpr size_t kMaxBytes = 200;
}

std::string safeFileName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char ch : name) {
        const auto u = static_cast<unsigned char>(ch);
        const bool bad = u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(ch) != std::string_view::npos;
        out += bad ? '_' : ch;
    }
    if (out.size() > kMaxBytes) {
        size_t cut = kMaxBytes;
        // Never split a UTF-8 sequence: back up over continuation bytes.
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
        out.resize(cut);
    }
    if (out.empty() || out == "." || out == "..") out.insert(out.begin(), '_');
    return out;
}
