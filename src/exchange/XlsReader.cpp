// Reader of legacy .xls workbooks: the compound document is opened with libgsf and its
// workbook stream is handed to the record reader (XlsRecords.cpp).
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "exchange/WorkbookReader.h"

namespace {

// Owns one reference to a GObject.
template <class T>
class Ref {
public:
    explicit Ref(T* p = nullptr) : p_(p) {}
    ~Ref() {
        if (p_) g_object_unref(p_);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return p_; }

private:
    T* p_;
};

void ignoreLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // A damaged document is reported through the read result; the library's own
        // warnings about it would only clutter the terminal.
        const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO);
        for (const char* domain : {"libgsf", "libgsf:msole"}) g_log_set_handler(domain, levels, ignoreLog, nullptr);
    });
}

// The child stream of a name, in any letter case (writers differ: "Workbook", "WORKBOOK").
GsfInput* childNamed(GsfInfile* doc, const char* name) {
    const int n = gsf_infile_num_children(doc);
    for (int i = 0; i < n; ++i) {
        const char* child = gsf_infile_name_by_index(doc, i);
        if (child && g_ascii_strcasecmp(child, name) == 0) return gsf_infile_child_by_index(doc, i);
    }
    return nullptr;
}

// Whether the bytes hold the name of the stream in which a password-protected Office package
// keeps its content ("EncryptedPackage" in UTF-16): for documents libgsf cannot open.
bool namesEncryptedPackage(std::string_view bytes) {
    static const char kName[] = "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0";
    return bytes.find(std::string_view(kName, sizeof kName - 1)) != std::string_view::npos;
}

void fail(WorkbookReadResult& result, WorkbookError error, const char* detail) {
    result.error = error;
    result.detail = detail;
    result.cells = CellTable();
}

// Reads the workbook stream of the compound document `input` (whose bytes, when at hand, tell
// an encrypted package that libgsf cannot open).
void readDocument(GsfInput* input, const FormatSettings& fs, WorkbookReadResult& result,
                  const std::function<bool()>& looksEncrypted) {
    const gsf_off_t fileSize = gsf_input_size(input);
    GError* err = nullptr;
    Ref<GsfInfile> doc(gsf_infile_msole_new(input, &err));
    if (err) g_error_free(err);
    if (!doc.get()) {
        if (looksEncrypted()) fail(result, WorkbookError::Encrypted, "encrypted package");
        else fail(result, WorkbookError::Corrupt, "not a readable compound document");
        return;
    }
    if (Ref<GsfInput> encrypted(childNamed(doc.get(), "EncryptedPackage")); encrypted.get()) {
        fail(result, WorkbookError::Encrypted, "encrypted package");
        return;
    }
    Ref<GsfInput> stream(childNamed(doc.get(), "Workbook"));
    Ref<GsfInput> oldStream(stream.get() ? nullptr : childNamed(doc.get(), "Book"));
    GsfInput* book = stream.get() ? stream.get() : oldStream.get();
    if (!book) {
        fail(result, WorkbookError::UnknownFormat, "compound document without a workbook stream");
        return;
    }
    // A stream longer than the file is a damaged directory entry.
    const gsf_off_t size = gsf_input_size(book);
    if (size < 0 || size > fileSize) {
        fail(result, WorkbookError::Corrupt, "damaged workbook stream");
        return;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0 && !gsf_input_read(book, size, reinterpret_cast<guint8*>(bytes.data()))) {
        fail(result, WorkbookError::Corrupt, "unreadable workbook stream");
        return;
    }
    readXlsRecords(bytes, fs, result);
}

}  // namespace

void readXls(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result) {
    initLibrary();
    GError* err = nullptr;
    Ref<GsfInput> input(gsf_input_stdio_new(path.c_str(), &err));
    if (err) g_error_free(err);
    if (!input.get()) {
        fail(result, WorkbookError::NotFound, "cannot open file");
        return;
    }
    readDocument(input.get(), fs, result, [&path] {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return false;
        std::string head(1 << 20, '\0');
        head.resize(std::fread(head.data(), 1, head.size(), f));
        std::fclose(f);
        return namesEncryptedPackage(head);
    });
}

void readXlsBytes(std::string_view bytes, const FormatSettings& fs, WorkbookReadResult& result) {
    initLibrary();
    Ref<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                             static_cast<gsf_off_t>(bytes.size()), FALSE));
    if (!input.get()) {
        fail(result, WorkbookError::Corrupt, "cannot read bytes");
        return;
    }
    readDocument(input.get(), fs, result, [bytes] { return namesEncryptedPackage(bytes.substr(0, 1 << 20)); });
}
