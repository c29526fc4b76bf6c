// Reader of the workbook stream of legacy .xls files (BIFF5 to BIFF8 records): the workbook
// globals (shared strings, number formats, cell formats, date mode, code page, sheet list)
// and the cells of the first worksheet, each turned into text as the other readers do.
// Every length and offset in the stream is checked before it is used.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/CellText.h"
#include "exchange/WorkbookReader.h"
#include "numerics/FastFormat.h"
#include "numerics/TextCodec.h"

namespace {

enum Record : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

constexpr uint16_t kBiff8 = 0x0600;
// A sheet of these books has 256 columns (A to IV); a cell beyond is damage, not content.
constexpr uint32_t kColumns = 256;

struct Failure {
    WorkbookError error;
    const char* detail;
};

uint16_t u16(std::string_view d, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1]) << 8);
}
uint32_t u32(std::string_view d, size_t at) { return u16(d, at) | static_cast<uint32_t>(u16(d, at + 2)) << 16; }
double f64(std::string_view d, size_t at) {
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = bits << 8 | static_cast<unsigned char>(d[at + static_cast<size_t>(k)]);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The value of an RK number: a 30-bit integer or the high 30 bits of a double, divided by
// 100 when its lowest bit is set.
double rkValue(uint32_t rk) {
    double v;
    if (rk & 2) {
        v = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 1) ? v / 100 : v;
}

struct RecordView {
    uint16_t type = 0;
    std::string_view data;
    size_t offset = 0;  // of the record header in the stream
};

// Walks the records of the stream from a position. A record whose length runs past the
// end of the stream ends the walk and marks the stream as cut short.
class Records {
public:
    Records(std::string_view stream, size_t from) : s_(stream), pos_(from) {}
    bool next(RecordView& r) {
        if (pos_ >= s_.size()) return false;
        if (s_.size() - pos_ < 4) {
            cutShort = true;
            return false;
        }
        const size_t length = u16(s_, pos_ + 2);
        if (s_.size() - pos_ - 4 < length) {
            cutShort = true;
            return false;
        }
        r.type = u16(s_, pos_);
        r.offset = pos_;
        r.data = s_.substr(pos_ + 4, length);
        pos_ += 4 + length;
        return true;
    }
    // The type of the record that next() gives next; 0 at the end.
    uint16_t peekType() const { return pos_ < s_.size() && s_.size() - pos_ >= 4 ? u16(s_, pos_) : 0; }
    bool cutShort = false;

private:
    std::string_view s_;
    size_t pos_;
};

// Text of 8-bit characters of the old (BIFF5) strings in the workbook's code page.
void appendCodePageText(std::string& out, std::string_view bytes, uint16_t codePage) {
    if (codePage == 1251) {
        out += cp1251ToUtf8(bytes);
        return;
    }
    for (char c : bytes) appendUtf8(out, static_cast<unsigned char>(c));
}

// Reads the characters of BIFF8 strings from a record and the CONTINUE records after it:
// a string's characters may run on into the next record, which then starts with a byte
// telling whether they go on as one or two bytes each.
class ContinuedReader {
public:
    explicit ContinuedReader(std::vector<std::string_view> segments) : segments_(std::move(segments)) {}

    bool atEnd() {
        while (k_ < segments_.size() && pos_ >= segments_[k_].size()) {
            ++k_;
            pos_ = 0;
        }
        return k_ >= segments_.size();
    }
    // Reads bytes that may cross into the next record without a marker (headers, runs).
    bool bytes(size_t n, std::string* into) {
        while (n > 0) {
            if (atEnd()) return false;
            const size_t take = std::min(n, segments_[k_].size() - pos_);
            if (into) into->append(segments_[k_].substr(pos_, take));
            pos_ += take;
            n -= take;
        }
        return true;
    }
    bool u8(uint8_t& v) {
        std::string b;
        if (!bytes(1, &b)) return false;
        v = static_cast<uint8_t>(b[0]);
        return true;
    }
    bool u16v(uint16_t& v) {
        std::string b;
        if (!bytes(2, &b)) return false;
        v = u16(b, 0);
        return true;
    }
    bool u32v(uint32_t& v) {
        std::string b;
        if (!bytes(4, &b)) return false;
        v = u32(b, 0);
        return true;
    }
    // Appends `count` characters, one or two bytes each as `wide` says at first and as the
    // marker byte of each following record says after it.
    bool chars(size_t count, bool wide, std::string& out) {
        while (count > 0) {
            if (pos_ >= current().size()) {
                // The characters go on in the next record, after its marker byte.
                ++k_;
                pos_ = 0;
                if (k_ >= segments_.size() || segments_[k_].empty()) return false;
                wide = (static_cast<unsigned char>(segments_[k_][0]) & 1) != 0;
                pos_ = 1;
                continue;
            }
            const std::string_view seg = current();
            const size_t width = wide ? 2 : 1;
            const size_t n = std::min(count, (seg.size() - pos_) / width);
            if (n == 0) return false;  // half a character at the end of a record
            if (wide) {
                utf16_.append(seg.substr(pos_, n * 2));
            } else {
                flushUtf16(out);
                for (size_t i = 0; i < n; ++i) appendUtf8(out, static_cast<unsigned char>(seg[pos_ + i]));
            }
            pos_ += n * width;
            count -= n;
        }
        flushUtf16(out);
        return true;
    }

private:
    std::string_view current() const { return k_ < segments_.size() ? segments_[k_] : std::string_view(); }
    // A surrogate pair may straddle two records, so wide characters are decoded together.
    void flushUtf16(std::string& out) {
        if (utf16_.empty()) return;
        out += utf16ToUtf8(utf16_, false);
        utf16_.clear();
    }

    std::vector<std::string_view> segments_;
    size_t k_ = 0, pos_ = 0;
    std::string utf16_;
};

// A BIFF8 string with a 16-bit (or, in names, 8-bit) character count and an option byte.
// Rich-text runs and phonetic data, when flagged, are skipped. False when it runs past the data.
bool readUnicodeString(ContinuedReader& in, bool shortCount, std::string& out) {
    uint16_t count = 0;
    if (shortCount) {
        uint8_t c = 0;
        if (!in.u8(c)) return false;
        count = c;
    } else if (!in.u16v(count)) {
        return false;
    }
    uint8_t flags = 0;
    if (!in.u8(flags)) return false;
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if ((flags & 0x08) && !in.u16v(runs)) return false;
    if ((flags & 0x04) && !in.u32v(phonetic)) return false;
    if (!in.chars(count, (flags & 1) != 0, out)) return false;
    return in.bytes(size_t{runs} * 4, nullptr) && in.bytes(phonetic, nullptr);
}

// The string of a record's data from `at`: BIFF8 Unicode or BIFF5 code-page text.
bool recordString(std::string_view data, size_t at, bool biff8, bool shortCount, uint16_t codePage,
                  std::string& out, const std::vector<std::string_view>& continues = {}) {
    if (at > data.size()) return false;
    if (biff8) {
        std::vector<std::string_view> segments{data.substr(at)};
        segments.insert(segments.end(), continues.begin(), continues.end());
        ContinuedReader in(std::move(segments));
        return readUnicodeString(in, shortCount, out);
    }
    const size_t head = shortCount ? 1 : 2;
    if (data.size() - at < head) return false;
    const size_t count = shortCount ? static_cast<unsigned char>(data[at]) : u16(data, at);
    if (data.size() - at - head < count) return false;
    appendCodePageText(out, data.substr(at + head, count), codePage);
    return true;
}

struct Globals {
    bool biff8 = true;
    bool date1904 = false;
    uint16_t codePage = 1252;
    // Shared strings, all texts in one pool.
    std::string pool;
    std::vector<size_t> ends;
    std::unordered_map<int, std::string> formats;
    std::vector<uint16_t> xfFormat;
    std::vector<bool> dateXf;
    size_t firstSheet = SIZE_MAX;

    std::string_view sharedString(size_t i) const {
        const size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(pool).substr(begin, ends[i] - begin);
    }
};

// The CONTINUE records that follow the current one.
std::vector<std::string_view> continuations(Records& records) {
    std::vector<std::string_view> out;
    RecordView r;
    while (records.peekType() == kContinue && records.next(r)) out.push_back(r.data);
    return out;
}

void readSst(std::string_view data, std::vector<std::string_view> continues, Globals& g) {
    if (data.size() < 8) return;
    const uint32_t unique = u32(data, 4);
    std::vector<std::string_view> segments{data.substr(8)};
    segments.insert(segments.end(), continues.begin(), continues.end());
    ContinuedReader in(std::move(segments));
    std::string text;
    for (uint32_t i = 0; i < unique && !in.atEnd(); ++i) {
        text.clear();
        // A string cut short ends the table; references to the missing ones are bad cells.
        if (!readUnicodeString(in, false, text)) break;
        g.pool += text;
        g.ends.push_back(g.pool.size());
    }
}

Globals readGlobals(std::string_view stream) {
    Globals g;
    Records records(stream, 0);
    RecordView r;
    if (!records.next(r) || r.type != kBof || r.data.size() < 4)
        throw Failure{WorkbookError::Corrupt, "the workbook stream does not begin with a BOF record"};
    const uint16_t version = u16(r.data, 0);
    if (version != kBiff8 && version != 0x0500)
        throw Failure{WorkbookError::Corrupt, "unsupported BIFF version"};
    g.biff8 = version == kBiff8;
    bool ended = false;
    while (!ended && records.next(r)) {
        const std::string_view d = r.data;
        switch (r.type) {
            case kEof:
                ended = true;
                break;
            case kFilePass:
                throw Failure{WorkbookError::Encrypted, "password protected"};
            case kCodePage:
                if (d.size() >= 2) g.codePage = u16(d, 0);
                break;
            case kDateMode:
                if (d.size() >= 2) g.date1904 = u16(d, 0) == 1;
                break;
            case kFormat:
                if (d.size() >= 2) {
                    std::string code;
                    if (recordString(d, 2, g.biff8, !g.biff8, g.codePage, code)) g.formats[u16(d, 0)] = std::move(code);
                }
                break;
            case kXf:
                g.xfFormat.push_back(d.size() >= 4 ? u16(d, 2) : 0);
                break;
            case kSst:
                readSst(d, continuations(records), g);
                break;
            case kBoundSheet:
                // The first worksheet (type 0); chart sheets, macro sheets and modules hold no cells.
                if (d.size() >= 6 && static_cast<unsigned char>(d[5]) == 0 && g.firstSheet == SIZE_MAX)
                    g.firstSheet = u32(d, 0);
                break;
            default:
                break;
        }
    }
    if (!ended) throw Failure{WorkbookError::Corrupt, "the workbook globals are cut short"};
    g.dateXf.reserve(g.xfFormat.size());
    for (uint16_t f : g.xfFormat) {
        const auto it = g.formats.find(f);
        g.dateXf.push_back(it != g.formats.end() ? isDateFormatCode(it->second) : isBuiltInDateFormat(f));
    }
    return g;
}

class SheetReader {
public:
    SheetReader(const Globals& g, const FormatSettings& fs, SheetCollector& out)
        : g_(g), sep_(fs.decimalSeparator), dates_(fs), out_(out) {}

    void read(std::string_view stream) {
        if (g_.firstSheet == SIZE_MAX) throw Failure{WorkbookError::NoSheet, "no worksheet"};
        Records records(stream, g_.firstSheet);
        RecordView r;
        if (!records.next(r) || r.type != kBof)
            throw Failure{WorkbookError::Corrupt, "the first worksheet is not where the sheet list says"};
        // Charts drawn on the sheet are substreams of their own inside it.
        int depth = 1;
        while (depth > 0 && records.next(r)) {
            if (r.type == kBof) {
                ++depth;
            } else if (r.type == kEof) {
                --depth;
            } else if (depth == 1) {
                cell(r, records);
                if (out_.overLimit()) throw Failure{WorkbookError::TooLarge, "too many cells"};
            }
        }
        dropPendingString();
        if (depth > 0) throw Failure{WorkbookError::Corrupt, "the worksheet is cut short"};
    }

private:
    bool isDate(uint16_t xf) const { return xf < g_.dateXf.size() && g_.dateXf[xf]; }

    void number(uint32_t row, uint32_t col, uint16_t xf, double v) {
        if (!std::isfinite(v)) {
            out_.addBad(row, col);
            return;
        }
        text_.clear();
        const std::optional<TDateTime> t = isDate(xf) ? serialToDateTime(v, g_.date1904) : std::nullopt;
        if (t) dates_.append(text_, *t);
        else appendFloatText(text_, v, sep_);
        out_.add(row, col, text_);
    }

    // A formula whose text result follows in a STRING record that never came.
    void dropPendingString() {
        if (!pending_) return;
        out_.addBad(pendingRow_, pendingCol_);
        pending_ = false;
    }

    void cell(const RecordView& r, Records& records) {
        const std::string_view d = r.data;
        if (r.type == kString) {
            if (!pending_) return;
            pending_ = false;
            text_.clear();
            if (recordString(d, 0, g_.biff8, false, g_.codePage, text_, continuations(records)))
                out_.add(pendingRow_, pendingCol_, text_);
            else
                out_.addBad(pendingRow_, pendingCol_);
            return;
        }
        switch (r.type) {
            case kNumber: case kRk: case kMulRk: case kLabel: case kRString: case kLabelSst: case kBoolErr:
            case kFormula:
                break;
            default:
                return;  // blanks (formatted empty cells), and records that are no cells
        }
        dropPendingString();
        if (d.size() < 6) return;  // not even a cell position
        const uint32_t row = u16(d, 0), col = u16(d, 2);
        if (col >= kColumns) return;
        const uint16_t xf = u16(d, 4);
        switch (r.type) {
            case kNumber:
                if (d.size() < 14) out_.addBad(row, col);
                else number(row, col, xf, f64(d, 6));
                break;
            case kRk:
                if (d.size() < 10) out_.addBad(row, col);
                else number(row, col, xf, rkValue(u32(d, 6)));
                break;
            case kMulRk: {
                // Column first, then pairs of format and RK value, then the last column.
                const size_t pairs = std::min<size_t>(d.size() >= 6 ? (d.size() - 6) / 6 : 0, kColumns - col);
                for (size_t k = 0; k < pairs; ++k)
                    number(row, col + static_cast<uint32_t>(k), u16(d, 4 + 6 * k), rkValue(u32(d, 6 + 6 * k)));
                break;
            }
            case kLabel:
            case kRString:
                text_.clear();
                if (recordString(d, 6, g_.biff8, false, g_.codePage, text_)) out_.add(row, col, text_);
                else out_.addBad(row, col);
                break;
            case kLabelSst: {
                const size_t index = d.size() >= 10 ? u32(d, 6) : SIZE_MAX;
                if (index < g_.ends.size()) out_.add(row, col, g_.sharedString(index));
                else out_.addBad(row, col);
                break;
            }
            case kBoolErr:
                if (d.size() < 8) out_.addBad(row, col);
                else if (d[7] == 0) out_.add(row, col, booleanText(d[6] != 0));
                else out_.add(row, col, {});  // an error value: an empty cell, as in the other formats
                break;
            case kFormula:
                formula(row, col, xf, d);
                break;
            default:
                break;
        }
    }

    // The result the formula had when the file was saved.
    void formula(uint32_t row, uint32_t col, uint16_t xf, std::string_view d) {
        if (d.size() < 14) {
            out_.addBad(row, col);
            return;
        }
        if (static_cast<unsigned char>(d[12]) != 0xFF || static_cast<unsigned char>(d[13]) != 0xFF) {
            number(row, col, xf, f64(d, 6));
            return;
        }
        switch (static_cast<unsigned char>(d[6])) {
            case 0:  // a text, in the STRING record that follows
                pending_ = true;
                pendingRow_ = row;
                pendingCol_ = col;
                break;
            case 1:
                out_.add(row, col, booleanText(d[8] != 0));
                break;
            case 2:  // an error
            case 3:  // an empty text
                out_.add(row, col, {});
                break;
            default:
                out_.addBad(row, col);
                break;
        }
    }

    const Globals& g_;
    const char sep_;
    DateTimeTextFormatter dates_;
    SheetCollector& out_;
    std::string text_;
    bool pending_ = false;
    uint32_t pendingRow_ = 0, pendingCol_ = 0;
};

}  // namespace

void readXlsRecords(std::string_view stream, const FormatSettings& fs, WorkbookReadResult& result) {
    try {
        const Globals globals = readGlobals(stream);
        SheetCollector collector;
        SheetReader(globals, fs, collector).read(stream);
        collector.finish(result);
    } catch (const Failure& f) {
        result.error = f.error;
        result.detail = f.detail;
        result.cells = CellTable();
    }
}
