#include "exchange/SheetDataCutter.h"

namespace {

// Bytes before a search start that a tag found there may begin with ("</x:row>").
constexpr size_t kOverlap = 64;

// The part before the sheet data: UTF-8 (no other encoding named, no byte order mark of
// UTF-16) and no document type declaration.
bool plainUtf8Head(std::string_view head) {
    if (head.size() >= 2 && ((head[0] == '\xFF' && head[1] == '\xFE') || (head[0] == '\xFE' && head[1] == '\xFF')))
        return false;
    if (head.find("<!DOCTYPE") != std::string_view::npos || head.find('\0') != std::string_view::npos) return false;
    const size_t decl = head.find("<?xml");
    if (decl != std::string_view::npos) {
        const size_t declEnd = head.find("?>", decl);
        const std::string_view d = head.substr(decl, declEnd == std::string_view::npos ? head.size() : declEnd - decl);
        const size_t enc = d.find("encoding");
        if (enc != std::string_view::npos) {
            const size_t q = d.find_first_of("\"'", enc);
            if (q == std::string_view::npos) return false;
            std::string name(d.substr(q + 1, 5));
            for (char& c : name) c = static_cast<char>(c | 0x20);
            if (name != "utf-8" || (q + 6 < d.size() && d[q + 6] != d[q])) return false;
        }
    }
    return true;
}

}  // namespace

// Position just after the last row end tag ("</row>" or "</x:row>") in s that ends after
// `from`; 0 when none. Only s[from - kOverlap ..] is searched.
size_t SheetDataCutter::afterLastRowEnd(std::string_view s, size_t from) {
    const size_t floor = from > kOverlap ? from - kOverlap : 0;
    searchedTotal_ += s.size() - floor;
    // Searched backwards within [floor, end): each pass ends where the last match began.
    size_t end = s.size();
    while (end > floor) {
        const size_t found = s.substr(floor, end - floor).rfind("row>");
        if (found == std::string_view::npos) return 0;
        const size_t at = floor + found;
        size_t k = at;
        if (k >= 1 && s[k - 1] == ':') {
            --k;
            while (k > 0 && s[k - 1] != '<' && s[k - 1] != '/' && s[k - 1] != '>' && s[k - 1] != ' ') --k;
        }
        if (k >= 2 && s[k - 1] == '/' && s[k - 2] == '<') return at + 4;
        end = at + 3;
    }
    return 0;
}

// Finds the start tag of the sheet data from about `from` on; returns the position after it,
// or npos with `resume` set to where the next search (with more text) starts.
size_t SheetDataCutter::afterSheetDataStart(std::string_view s, size_t from, bool& selfClosing, size_t& resume) {
    from = from > kOverlap ? from - kOverlap : 0;
    searchedTotal_ += s.size() - from;
    resume = s.size();
    for (;;) {
        const size_t at = s.find("sheetData", from);
        if (at == std::string_view::npos) return std::string_view::npos;
        size_t k = at;
        if (k >= 1 && s[k - 1] == ':') {
            --k;
            while (k > 0 && s[k - 1] != '<' && s[k - 1] != '>' && s[k - 1] != ' ') --k;
        }
        if (k >= 1 && s[k - 1] == '<') {
            const size_t close = s.find('>', at);
            if (close == std::string_view::npos) {
                resume = at;  // the tag goes on in the text still to come
                return std::string_view::npos;
            }
            selfClosing = s[close - 1] == '/';
            return close + 1;
        }
        from = at + 1;
    }
}

bool SheetDataCutter::feed(std::string_view bytes, bool last, const std::function<void(std::string)>& piece) {
    pending_.append(bytes);
    if (!inData_) {
        bool selfClosing = false;
        size_t resume = 0;
        const size_t start = afterSheetDataStart(pending_, searched_, selfClosing, resume);
        if (start == std::string::npos) {
            searched_ = resume;
            return !last && pending_.size() <= kMaxPending;
        }
        if (selfClosing || !plainUtf8Head(std::string_view(pending_).substr(0, start))) return false;
        pending_.erase(0, start);
        inData_ = true;
        searched_ = 0;
    }
    if (last) {
        searchedTotal_ += pending_.size();
        const size_t end = pending_.rfind("sheetData>");
        if (end == std::string::npos) return false;
        const size_t open = pending_.rfind("</", end);
        if (open == std::string::npos) return false;
        pending_.resize(open);
        piece(std::move(pending_));
        pending_.clear();
        return true;
    }
    if (pending_.size() < kPiece) return true;
    const size_t cut = afterLastRowEnd(pending_, searched_);
    if (cut == 0) {
        searched_ = pending_.size();
        return pending_.size() <= kMaxPending;
    }
    std::string done = pending_.substr(0, cut);
    pending_.erase(0, cut);
    // What is left follows the last row end: it holds none.
    searched_ = pending_.size();
    piece(std::move(done));
    return true;
}
