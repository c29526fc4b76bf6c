#pragma once
// Cuts the sheet data of a worksheet part, as it is read, into pieces that each end after a
// row end tag, so that several parsers can read one sheet at once. Each byte of the part is
// searched about once, whatever its layout.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class SheetDataCutter {
public:
    // Pieces are cut once this much is pending.
    static constexpr size_t kPiece = 4 << 20;
    // Sheet data that runs this long without a row end (one huge cell, or padding) is not
    // cut: the part is left to a parse in one pass, which streams it.
    static constexpr size_t kMaxPending = 64 << 20;

    // Takes the next bytes of the part (`last`: the part ends after them) and hands each
    // finished piece (the rows between the cuts, without the sheet data tags) to `piece`.
    // False when the part cannot be cut safely: no sheet data start, an empty sheet data
    // tag, another encoding than UTF-8, a document type declaration, no end tag of the
    // sheet data at the end, or kMaxPending bytes without a row end.
    bool feed(std::string_view bytes, bool last, const std::function<void(std::string)>& piece);

    // Bytes examined by the searches so far: about the length of the part.
    size_t bytesSearched() const { return searchedTotal_; }

private:
    size_t afterLastRowEnd(std::string_view s, size_t from);
    size_t afterSheetDataStart(std::string_view s, size_t from, bool& selfClosing, size_t& resume);

    std::string pending_;
    bool inData_ = false;
    // pending_[0, searched_) holds no row end (in the data) or no sheet data start (before).
    size_t searched_ = 0;
    size_t searchedTotal_ = 0;
};
