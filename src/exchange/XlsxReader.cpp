// Reader of Office Open XML workbooks (.xlsx, .xlsm): the package is read with libzip and
// every part is parsed as a stream with expat, so no sheet is ever held as a tree.
#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/CellText.h"
#include "exchange/SheetDataCutter.h"
#include "exchange/WorkbookReader.h"
#include "numerics/TextCodec.h"

namespace {

struct ReadFailure {
    WorkbookError error;
    std::string detail;
};

// The name after a namespace prefix ("x:c" -> "c").
std::string_view localName(const char* name) {
    std::string_view s(name);
    const size_t colon = s.rfind(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

const char* attribute(const char** atts, std::string_view name) {
    for (; *atts; atts += 2)
        if (localName(atts[0]) == name) return atts[1];
    return nullptr;
}

// Receives the events of one part.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const char** atts) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(const char* s, int len) {}
    // Set by a handler to stop the parse early (the result is then the handler's business).
    bool stopped = false;
};

void XMLCALL onStart(void* data, const char* name, const char** atts) {
    static_cast<XmlHandler*>(data)->start(localName(name), atts);
}
void XMLCALL onEnd(void* data, const char* name) { static_cast<XmlHandler*>(data)->end(localName(name)); }
void XMLCALL onText(void* data, const char* s, int len) { static_cast<XmlHandler*>(data)->text(s, len); }

class ZipPackage {
public:
    explicit ZipPackage(const std::string& path) {
        int err = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY, &err);
        if (!zip_) {
            if (err == ZIP_ER_OPEN || err == ZIP_ER_READ) throw ReadFailure{WorkbookError::NotFound, "cannot read file"};
            throw ReadFailure{WorkbookError::Corrupt, "not a readable zip package"};
        }
    }
    ~ZipPackage() {
        if (zip_) zip_discard(zip_);
    }
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Index of a part by its name (without a leading "/", any letter case); -1 when absent.
    zip_int64_t find(const std::string& part) const {
        return zip_name_locate(zip_, part.c_str(), ZIP_FL_NOCASE);
    }
    bool has(const std::string& part) const { return find(part) >= 0; }

    // Streams a part through expat into the handler.
    void parse(const std::string& part, XmlHandler& handler) const {
        const zip_int64_t index = find(part);
        if (index < 0) throw ReadFailure{WorkbookError::Corrupt, "missing part " + part};
        zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
        if (!file) {
            const int ze = zip_error_code_zip(zip_get_error(zip_));
            if (ze == ZIP_ER_NOPASSWD || ze == ZIP_ER_WRONGPASSWD || ze == ZIP_ER_ENCRNOTSUPP)
                throw ReadFailure{WorkbookError::Encrypted, "encrypted part " + part};
            throw ReadFailure{WorkbookError::Corrupt, "cannot open part " + part};
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);
        std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr), XML_ParserFree);
        if (!parser) throw std::bad_alloc();
        XML_SetUserData(parser.get(), &handler);
        XML_SetElementHandler(parser.get(), onStart, onEnd);
        XML_SetCharacterDataHandler(parser.get(), onText);
        constexpr int kChunk = 1 << 18;
        for (;;) {
            void* buf = XML_GetBuffer(parser.get(), kChunk);
            if (!buf) throw std::bad_alloc();
            const zip_int64_t got = zip_fread(file, buf, kChunk);
            if (got < 0) throw ReadFailure{WorkbookError::Corrupt, "damaged part " + part};
            const bool last = got == 0;
            if (XML_ParseBuffer(parser.get(), static_cast<int>(got), last) == XML_STATUS_ERROR) {
                if (handler.stopped) return;
                throw ReadFailure{WorkbookError::Corrupt,
                                  "malformed part " + part + ": " + XML_ErrorString(XML_GetErrorCode(parser.get()))};
            }
            if (handler.stopped) return;
            if (last) break;
        }
    }

    // Opens a part for reading its bytes; nullptr when it cannot be opened.
    zip_file_t* open(const std::string& part) const {
        const zip_int64_t index = find(part);
        return index < 0 ? nullptr : zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
    }

private:
    zip_t* zip_ = nullptr;
};

// Joins a relationship target to the folder of its source part and removes "." and "..".
std::string resolvePart(const std::string& sourceFolder, std::string_view target) {
    std::string path;
    if (!target.empty() && target.front() == '/') path = std::string(target.substr(1));
    else path = sourceFolder + std::string(target);
    // Percent-encoded characters (blanks, non-Latin names).
    std::string decoded;
    for (size_t i = 0; i < path.size(); ++i) {
        auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10 : -1; };
        if (path[i] == '%' && i + 2 < path.size() && hex(path[i + 1]) >= 0 && hex(path[i + 2]) >= 0) {
            decoded += static_cast<char>(hex(path[i + 1]) * 16 + hex(path[i + 2]));
            i += 2;
        } else {
            decoded += path[i];
        }
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= decoded.size()) {
        size_t slash = decoded.find('/', start);
        if (slash == std::string::npos) slash = decoded.size();
        const std::string piece = decoded.substr(start, slash - start);
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = slash + 1;
    }
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) out += '/';
        out += p;
    }
    return out;
}

std::string folderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relsOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

struct Relationship {
    std::string id, type, target;
};

class RelsHandler : public XmlHandler {
public:
    std::vector<Relationship> rels;
    void start(std::string_view name, const char** atts) override {
        if (name != "Relationship") return;
        const char* mode = attribute(atts, "TargetMode");
        if (mode && std::string_view(mode) == "External") return;
        const char* id = attribute(atts, "Id");
        const char* type = attribute(atts, "Type");
        const char* target = attribute(atts, "Target");
        if (id && type && target) rels.push_back({id, type, target});
    }
    void end(std::string_view) override {}
};

class WorkbookHandler : public XmlHandler {
public:
    bool date1904 = false;
    std::vector<std::string> sheetRelIds;
    void start(std::string_view name, const char** atts) override {
        if (name == "workbookPr") {
            const char* d = attribute(atts, "date1904");
            if (d) date1904 = std::string_view(d) == "1" || std::string_view(d) == "true";
        } else if (name == "sheet") {
            const char* id = attribute(atts, "id");
            sheetRelIds.push_back(id ? id : "");
        }
    }
    void end(std::string_view) override {}
};

int toInt(const char* s, int fallback) {
    if (!s) return fallback;
    int v = fallback;
    const std::string_view t(s);
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return r.ec == std::errc() ? v : fallback;
}

// Which cell formats show dates: the cellXfs entries and the format codes they use.
class StylesHandler : public XmlHandler {
public:
    std::vector<bool> dateStyle;
    void start(std::string_view name, const char** atts) override {
        if (name == "numFmt") {
            const char* code = attribute(atts, "formatCode");
            codes_[toInt(attribute(atts, "numFmtId"), -1)] = code ? code : "";
        } else if (name == "cellXfs") {
            inXfs_ = true;
        } else if (name == "xf" && inXfs_) {
            const int id = toInt(attribute(atts, "numFmtId"), 0);
            auto it = codes_.find(id);
            dateStyle.push_back(it != codes_.end() ? isDateFormatCode(it->second) : isBuiltInDateFormat(id));
        }
    }
    void end(std::string_view name) override {
        if (name == "cellXfs") inXfs_ = false;
    }

private:
    std::unordered_map<int, std::string> codes_;
    bool inXfs_ = false;
};

// Replaces the escapes _xHHHH_ by their characters (the form in which the package keeps
// characters XML cannot hold, and "_x005F_" a literal underscore).
void decodeEscapes(std::string& s) {
    if (s.find("_x") == std::string::npos) return;
    auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10 : -1; };
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_' && hex(s[i + 2]) >= 0 &&
            hex(s[i + 3]) >= 0 && hex(s[i + 4]) >= 0 && hex(s[i + 5]) >= 0) {
            const unsigned cp = static_cast<unsigned>(hex(s[i + 2]) << 12 | hex(s[i + 3]) << 8 | hex(s[i + 4]) << 4 | hex(s[i + 5]));
            appendUtf8(out, cp);
            i += 6;
        } else {
            out += s[i];
        }
    }
    s.swap(out);
}

// The most bytes of XML text gathered for one cell: a cell of kMaxCellCharacters characters
// takes at most 3 bytes a character, or 7 written as an escape "_xHHHH_". Beyond that the
// text is dropped unread and the cell is a bad one, so a huge text never fills the memory.
constexpr size_t kMaxRawCellBytes = 7 * kMaxCellCharacters;

// The shared strings: plain and rich texts, without phonetic runs.
class SharedStringsHandler : public XmlHandler {
public:
    std::string pool;
    std::vector<size_t> ends;
    // Items too long for a cell (kept as empty texts).
    std::vector<bool> tooLong;
    std::string_view at(size_t i) const {
        const size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(pool).substr(begin, ends[i] - begin);
    }
    void start(std::string_view name, const char**) override {
        if (name == "si") {
            inItem_ = true;
            itemTooLong_ = false;
            item_.clear();
        } else if (name == "rPh") {
            inPhonetic_ = true;
        } else if (name == "t" && inItem_ && !inPhonetic_) {
            capture_ = true;
        }
    }
    void end(std::string_view name) override {
        if (name == "t") {
            capture_ = false;
        } else if (name == "rPh") {
            inPhonetic_ = false;
        } else if (name == "si") {
            decodeEscapes(item_);
            const bool bad = itemTooLong_ || !fitsInCell(item_);
            if (!bad) pool += item_;
            ends.push_back(pool.size());
            tooLong.push_back(bad);
            inItem_ = false;
        }
    }
    void text(const char* s, int len) override {
        if (!capture_) return;
        if (item_.size() + static_cast<size_t>(len) > kMaxRawCellBytes) itemTooLong_ = true;
        else item_.append(s, static_cast<size_t>(len));
    }

private:
    std::string item_;
    bool inItem_ = false, inPhonetic_ = false, capture_ = false, itemTooLong_ = false;
};

// Reads "AB12" into a column and a row, both from 0.
bool parseCellRef(std::string_view ref, uint32_t& row, uint32_t& column) {
    size_t i = 0;
    uint64_t c = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        c = c * 26 + static_cast<uint64_t>((ref[i] | 0x20) - 'a' + 1);
        if (c > (1u << 24)) return false;
        ++i;
    }
    if (i == 0 || i == ref.size()) return false;
    uint64_t r = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') return false;
        r = r * 10 + static_cast<uint64_t>(ref[i] - '0');
        if (r > (1u << 24)) return false;
    }
    if (r == 0) return false;
    row = static_cast<uint32_t>(r - 1);
    column = static_cast<uint32_t>(c - 1);
    return true;
}

class SheetHandler : public XmlHandler {
public:
    SheetHandler(SheetCollector& out, const SharedStringsHandler& strings, const std::vector<bool>& dateStyle,
                 bool date1904, const FormatSettings& fs)
        : out_(out), strings_(strings), dateStyle_(dateStyle), date1904_(date1904), fs_(fs) {}

    bool tooLarge = false;
    // A row without its number: its place depends on the rows before it.
    bool rowWithoutRef = false;

    void start(std::string_view name, const char** atts) override {
        switch (name.size()) {
            case 1:
                if (name[0] == 'c') startCell(atts);
                else if (name[0] == 'v' && inCell_) {
                    capture_ = true;
                    value_.clear();
                } else if (name[0] == 't' && inInline_ && !inPhonetic_) {
                    capture_ = true;
                }
                break;
            case 2:
                if (name == "is" && inCell_) {
                    inInline_ = true;
                    haveInline_ = true;
                    inline_.clear();
                }
                break;
            case 3:
                if (name == "row") {
                    const char* r = attribute(atts, "r");
                    const int n = toInt(r, 0);
                    if (n <= 0) rowWithoutRef = true;
                    row_ = n > 0 ? static_cast<uint32_t>(n - 1) : row_ + (seenRow_ ? 1 : 0);
                    seenRow_ = true;
                    nextColumn_ = 0;
                } else if (name == "rPh") {
                    inPhonetic_ = true;
                }
                break;
            default:
                break;
        }
    }

    void end(std::string_view name) override {
        if (name.size() == 1) {
            if (name[0] == 'v') {
                if (capture_) haveValue_ = true;
                capture_ = false;
            } else if (name[0] == 't') {
                if (inInline_) capture_ = false;
            } else if (name[0] == 'c' && inCell_) {
                endCell();
            }
        } else if (name == "is") {
            inInline_ = false;
            capture_ = false;
        } else if (name == "rPh") {
            inPhonetic_ = false;
        }
    }

    void text(const char* s, int len) override {
        if (!capture_) return;
        std::string& t = inInline_ ? inline_ : value_;
        if (t.size() + static_cast<size_t>(len) > kMaxRawCellBytes) tooLong_ = true;
        else t.append(s, static_cast<size_t>(len));
    }

private:
    enum class Type { Number, Shared, Text, Inline, Boolean, Error, Date };

    void startCell(const char** atts) {
        inCell_ = true;
        haveValue_ = haveInline_ = tooLong_ = false;
        type_ = Type::Number;
        style_ = 0;
        const char* ref = nullptr;
        for (const char** a = atts; *a; a += 2) {
            const std::string_view key = localName(a[0]);
            const std::string_view val(a[1]);
            if (key == "r") ref = a[1];
            else if (key == "s") style_ = toInt(a[1], 0);
            else if (key == "t") {
                if (val == "s") type_ = Type::Shared;
                else if (val == "str") type_ = Type::Text;
                else if (val == "inlineStr") type_ = Type::Inline;
                else if (val == "b") type_ = Type::Boolean;
                else if (val == "e") type_ = Type::Error;
                else if (val == "d") type_ = Type::Date;
            }
        }
        uint32_t r, c;
        if (ref && parseCellRef(ref, r, c)) {
            row_ = r;
            column_ = c;
            seenRow_ = true;
        } else {
            column_ = nextColumn_;
        }
        nextColumn_ = column_ + 1;
    }

    void endCell() {
        inCell_ = false;
        if (tooLong_) {
            out_.addBad(row_, column_);
            return;
        }
        if (type_ == Type::Inline || (haveInline_ && !haveValue_)) {
            if (!haveInline_ && !haveValue_) return;
            std::string& t = haveInline_ ? inline_ : value_;
            decodeEscapes(t);
            out_.add(row_, column_, t);
        } else {
            if (!haveValue_) return;  // a formula without a stored result, or a formatted blank
            switch (type_) {
                case Type::Shared: {
                    size_t index = 0;
                    auto r = std::from_chars(value_.data(), value_.data() + value_.size(), index);
                    if (r.ec != std::errc() || r.ptr != value_.data() + value_.size() || index >= strings_.ends.size() ||
                        strings_.tooLong[index])
                        out_.addBad(row_, column_);
                    else
                        out_.add(row_, column_, strings_.at(index));
                    break;
                }
                case Type::Text:
                    decodeEscapes(value_);
                    out_.add(row_, column_, value_);
                    break;
                case Type::Boolean:
                    if (value_ == "1" || value_ == "true") out_.add(row_, column_, booleanText(true));
                    else if (value_ == "0" || value_ == "false") out_.add(row_, column_, booleanText(false));
                    else out_.addBad(row_, column_);
                    break;
                case Type::Error:
                    out_.add(row_, column_, {});
                    break;
                case Type::Date: {
                    const auto t = parseIsoDateTime(value_);
                    if (t) out_.add(row_, column_, dateTimeToStr(*t, fs_));
                    else out_.addBad(row_, column_);
                    break;
                }
                default:
                    numberCell();
                    break;
            }
        }
        if (out_.overLimit()) {
            tooLarge = true;
            stopped = true;
        }
    }

    void numberCell() {
        if (value_.empty()) return;
        const bool isDate = style_ >= 0 && static_cast<size_t>(style_) < dateStyle_.size() &&
                            dateStyle_[static_cast<size_t>(style_)];
        if (isDate) {
            const auto v = parseStoredNumber(value_);
            if (!v) {
                out_.addBad(row_, column_);
                return;
            }
            if (const auto t = serialToDateTime(*v, date1904_)) {
                out_.add(row_, column_, dateTimeToStr(*t, fs_));
                return;
            }
        }
        scratch_.clear();
        if (appendNumberText(value_, fs_, scratch_)) out_.add(row_, column_, scratch_);
        else out_.addBad(row_, column_);
    }

    SheetCollector& out_;
    const SharedStringsHandler& strings_;
    const std::vector<bool>& dateStyle_;
    const bool date1904_;
    const FormatSettings& fs_;

    std::string value_, inline_, scratch_;
    Type type_ = Type::Number;
    int style_ = 0;
    uint32_t row_ = 0, column_ = 0, nextColumn_ = 0;
    bool seenRow_ = false, inCell_ = false, capture_ = false, haveValue_ = false, haveInline_ = false, tooLong_ = false,
         inInline_ = false, inPhonetic_ = false;
};


// Parsing the sheet in pieces on several threads. The rows of the sheet data are cut apart
// after row end tags; each piece is parsed by its own expat parser into its own collector,
// and the collectors are joined in sheet order. Sheets that cannot be cut safely (another
// encoding, a document type declaration, rows without numbers) or any piece that fails are
// handed back to the plain sequential parse, which then gives the real result or error.
class ParallelSheet {
public:
    ParallelSheet(const SharedStringsHandler& strings, const std::vector<bool>& dateStyle, bool date1904,
                  const FormatSettings& fs)
        : strings_(strings), dateStyle_(dateStyle), date1904_(date1904), fs_(fs) {}

    enum class Outcome { Done, TooLarge, Fallback };

    Outcome run(const ZipPackage& zip, const std::string& part, SheetCollector& out) {
        zip_file_t* file = zip.open(part);
        if (!file) return Outcome::Fallback;
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);

        unsigned threads = std::thread::hardware_concurrency();
        threads = std::clamp(threads, 1u, 4u);
        std::vector<std::thread> workers;
        bool readOk = false;
        // No exception may leave while a worker runs: a failure here ends the workers and
        // leaves the sheet to the sequential parse.
        try {
            for (unsigned k = 0; k < threads; ++k) workers.emplace_back([this] { work(); });
            readOk = split(file);
        } catch (...) {
            failed_ = true;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        wake_.notify_all();
        for (auto& w : workers) w.join();

        if (tooLarge_ || !readOk || failed_) {
            results_.clear();
            return tooLarge_ ? Outcome::TooLarge : Outcome::Fallback;
        }
        for (auto& piece : results_) {
            if (!piece) return Outcome::Fallback;
            out.append(std::move(*piece));
            piece.reset();
        }
        if (out.overLimit()) return Outcome::TooLarge;
        return Outcome::Done;
    }

private:
    static constexpr size_t kRead = 1 << 20;

    // Reads the part and hands out pieces; false when the sheet cannot be cut safely.
    bool split(zip_file_t* file) {
        SheetDataCutter cutter;
        std::string chunk(kRead, '\0');
        for (;;) {
            if (failed_ || tooLarge_) return true;
            const zip_int64_t got = zip_fread(file, chunk.data(), kRead);
            if (got < 0) return false;
            const bool last = got == 0;
            if (!cutter.feed(std::string_view(chunk.data(), static_cast<size_t>(got)), last,
                             [this](std::string piece) { submit(std::move(piece)); }))
                return false;
            if (last) return true;
        }
    }

    void submit(std::string piece) {
        std::unique_lock<std::mutex> lock(mutex_);
        // Few pieces wait at a time, so the text of a large sheet is never held whole.
        room_.wait(lock, [this] { return queue_.size() < 8 || failed_ || tooLarge_; });
        results_.emplace_back();
        queue_.push_back({results_.size() - 1, std::move(piece)});
        lock.unlock();
        wake_.notify_one();
    }

    void work() {
        for (;;) {
            std::pair<size_t, std::string> job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty() || finished_; });
                if (queue_.empty()) return;
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            room_.notify_one();
            if (failed_ || tooLarge_) continue;
            std::unique_ptr<SheetCollector> collector;
            bool parsed = false;
            try {
                collector = std::make_unique<SheetCollector>();
                parsed = parsePiece(job.second, *collector);
            } catch (...) {
                parsed = false;
            }
            if (!parsed) {
                failed_ = true;
                room_.notify_all();
                continue;
            }
            if ((cells_ += collector->cellCount()) > CellTable::kMaxCells) {
                tooLarge_ = true;
                room_.notify_all();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            results_[job.first] = std::move(collector);  // the slot exists: made by submit
        }
    }

    bool parsePiece(const std::string& piece, SheetCollector& out) {
        SheetHandler handler(out, strings_, dateStyle_, date1904_, fs_);
        std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"), XML_ParserFree);
        if (!parser) return false;
        XML_SetUserData(parser.get(), static_cast<XmlHandler*>(&handler));
        XML_SetElementHandler(parser.get(), onStart, onEnd);
        XML_SetCharacterDataHandler(parser.get(), onText);
        static const char kOpen[] = "<sheetData>";
        static const char kClose[] = "</sheetData>";
        if (XML_Parse(parser.get(), kOpen, sizeof kOpen - 1, XML_FALSE) == XML_STATUS_ERROR) return false;
        // Pieces are below 2 GB: the cut is made every few megabytes.
        if (XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()), XML_FALSE) == XML_STATUS_ERROR)
            return handler.stopped && handler.tooLarge;
        if (XML_Parse(parser.get(), kClose, sizeof kClose - 1, XML_TRUE) == XML_STATUS_ERROR) return false;
        return !handler.rowWithoutRef;
    }

    const SharedStringsHandler& strings_;
    const std::vector<bool>& dateStyle_;
    const bool date1904_;
    const FormatSettings& fs_;

    std::mutex mutex_;
    std::condition_variable wake_, room_;
    std::deque<std::pair<size_t, std::string>> queue_;
    std::vector<std::unique_ptr<SheetCollector>> results_;
    bool finished_ = false;
    std::atomic<bool> failed_{false}, tooLarge_{false};
    std::atomic<size_t> cells_{0};
};

const Relationship* findRel(const std::vector<Relationship>& rels, std::string_view typeTail) {
    for (const auto& r : rels)
        if (endsWith(r.type, typeTail)) return &r;
    return nullptr;
}

void readPackage(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result) {
    ZipPackage zip(path);

    // The workbook part: named by the package relationships, else the usual place.
    std::string workbookPart;
    if (zip.has("_rels/.rels")) {
        RelsHandler root;
        zip.parse("_rels/.rels", root);
        if (const Relationship* r = findRel(root.rels, "/officeDocument")) workbookPart = resolvePart("", r->target);
    }
    if (workbookPart.empty() || !zip.has(workbookPart)) workbookPart = "xl/workbook.xml";
    if (!zip.has(workbookPart)) throw ReadFailure{WorkbookError::UnknownFormat, "zip package without a workbook"};

    WorkbookHandler book;
    zip.parse(workbookPart, book);
    const std::string folder = folderOf(workbookPart);
    RelsHandler rels;
    if (zip.has(relsOf(workbookPart))) zip.parse(relsOf(workbookPart), rels);

    // The first sheet in workbook order that is a worksheet (chart sheets hold no cells).
    std::string sheetPart;
    for (const auto& id : book.sheetRelIds) {
        for (const auto& r : rels.rels) {
            if (r.id == id && endsWith(r.type, "/worksheet")) {
                sheetPart = resolvePart(folder, r.target);
                break;
            }
        }
        if (!sheetPart.empty()) break;
    }
    if (sheetPart.empty() || !zip.has(sheetPart)) throw ReadFailure{WorkbookError::NoSheet, "no worksheet"};

    StylesHandler styles;
    if (const Relationship* r = findRel(rels.rels, "/styles")) {
        const std::string part = resolvePart(folder, r->target);
        if (zip.has(part)) zip.parse(part, styles);
    }
    SharedStringsHandler strings;
    if (const Relationship* r = findRel(rels.rels, "/sharedStrings")) {
        const std::string part = resolvePart(folder, r->target);
        if (zip.has(part)) zip.parse(part, strings);
    }

    SheetCollector collector;
    ParallelSheet parallel(strings, styles.dateStyle, book.date1904, fs);
    switch (parallel.run(zip, sheetPart, collector)) {
        case ParallelSheet::Outcome::Done:
            break;
        case ParallelSheet::Outcome::TooLarge:
            throw ReadFailure{WorkbookError::TooLarge, "too many cells"};
        case ParallelSheet::Outcome::Fallback: {
            collector = SheetCollector();
            SheetHandler sheet(collector, strings, styles.dateStyle, book.date1904, fs);
            zip.parse(sheetPart, sheet);
            if (sheet.tooLarge) throw ReadFailure{WorkbookError::TooLarge, "too many cells"};
            break;
        }
    }
    collector.finish(result);
}

}  // namespace

void readXlsx(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result) {
    try {
        readPackage(path, fs, result);
    } catch (const ReadFailure& f) {
        result.error = f.error;
        result.detail = f.detail;
        result.cells = CellTable();
    }
}
