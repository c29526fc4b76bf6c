#include "core/ModelFiles.h"

#include <algorithm>
#include <vector>

#include "core/FileSystem.h"
#include "core/StoredFormat.h"

namespace {

const char* const kEol = "\r\n";

void addNumber(std::string& out, long double x) {
    appendStoredFloat(out, x);
    out += ';';
}

// Exactly `count` entries, so the file always agrees with its counts (missing entries 0).
void addNumbers(std::string& out, const arrayOfExtended& values, int count) {
    for (int i = 0; i < count; ++i) addNumber(out, static_cast<size_t>(i) < values.size() ? values[static_cast<size_t>(i)] : 0.0L);
    out += kEol;
}

void addInt(std::string& out, int v) {
    out += std::to_string(v);
    out += ';';
}

// Reads the lines of a model file, each holding exactly the fields its layout gives,
// remembering why reading stopped.
class ModelReader {
public:
    explicit ModelReader(std::string_view text) : lines_(splitLines(text)) {
        while (!lines_.empty() && lines_.back().find_first_not_of(" \t") == std::string_view::npos)
            lines_.pop_back();
    }

    // The file holds exactly the `n` lines of its layout (blank lines at its end aside): a
    // line too many or too few would shift every later field.
    bool exactLines(size_t n) {
        if (lines_.empty()) return fail("файл пуст");
        if (lines_.size() < n) return fail("в файле меньше " + std::to_string(n) + " строк");
        if (lines_.size() > n)
            return fail("лишняя строка " + std::to_string(n + 1) + " (в файле модели " + std::to_string(n) + " строк)");
        return true;
    }
    // A name line: the whole line up to its final ";".
    bool name(size_t lineIndex, std::string& v, const char* what) {
        const auto text = endedLine(lines_[lineIndex]);
        if (!text || hasControlCharacter(*text)) return failAt(lineIndex, std::string("не читается ") + what);
        v = std::string(*text);
        return true;
    }
    // Exactly `count` ";"-ended fields.
    bool fields(size_t lineIndex, size_t count, std::vector<std::string_view>& out, const char* what) {
        auto f = endedFields(lines_[lineIndex]);
        if (!f) return failAt(lineIndex, "текст после последнего \";\"");
        if (f->size() != count)
            return failAt(lineIndex, std::string("число ") + what + " (" + std::to_string(f->size()) + ") не равно " +
                                         std::to_string(count));
        out = std::move(*f);
        return true;
    }
    // A line of exactly one ";"-ended field.
    bool field(size_t lineIndex, std::string_view& v, const char* what) {
        const auto f = onlyField(lines_[lineIndex]);
        if (!f) return failAt(lineIndex, std::string("не читается ") + what);
        v = *f;
        return true;
    }
    bool number(size_t lineIndex, long double& v, const char* what) {
        const auto field = onlyField(lines_[lineIndex]);
        const auto r = field ? strToFloat(*field) : std::nullopt;
        if (!r) return failAt(lineIndex, std::string("не читается ") + what);
        v = *r;
        return true;
    }
    bool number(size_t lineIndex, double& v, const char* what) {
        long double x = 0;
        if (!number(lineIndex, x, what)) return false;
        v = static_cast<double>(x);
        return true;
    }
    bool numbers(size_t lineIndex, int count, arrayOfExtended& out, const char* what) {
        std::vector<std::string_view> f;
        if (!fields(lineIndex, static_cast<size_t>(count), f, (std::string("значений ") + what).c_str())) return false;
        out.clear();
        for (auto field : f) {
            const auto r = strToFloat(field);
            if (!r) return failAt(lineIndex, std::string("не читается ") + what);
            out.push_back(*r);
        }
        return true;
    }
    bool integer(std::string_view field, size_t lineIndex, int lo, int hi, int& v, const char* what) {
        const auto r = readStoredInt(field);
        if (!r) return failAt(lineIndex, std::string("не читается ") + what);
        if (*r < lo || *r > hi)
            return failAt(lineIndex, std::string(what) + " вне допустимых пределов: " + std::to_string(*r));
        v = *r;
        return true;
    }
    bool fail(std::string why) {
        reason = std::move(why);
        return false;
    }
    bool failAt(size_t lineIndex, const std::string& why) {
        return fail(why + " (строка " + std::to_string(lineIndex + 1) + ")");
    }

    std::string reason;

private:
    std::vector<std::string_view> lines_;
};

void setReason(std::string* out, const std::string& why) {
    if (out) *out = why;
}

}  // namespace

std::string staticModelText(const TStaticModel& m) {
    std::string out;
    out += lineText(m.name);
    out += ';';
    out += kEol;
    // The count is that of the names written, so the file always agrees with itself.
    addInt(out, static_cast<int>(m.inputName.size()));
    addInt(out, m.numOfY);
    out += kEol;
    for (const auto& in : m.inputName) {
        out += fieldText(in);
        out += ';';
    }
    out += kEol;
    out += lineText(m.outputName);
    out += ';';
    out += kEol;
    addInt(out, m.n);
    out += kEol;
    addNumbers(out, m.A, m.n);
    addNumber(out, m.c);
    out += kEol;
    out += m.coinCheck ? "true;" : "false;";
    out += kEol;
    addNumber(out, m.R2);
    out += kEol;
    addNumber(out, m.R2norm);
    out += kEol;
    return out;
}

std::string dynamicModelText(const TDynamicModel& m) {
    std::string out;
    out += lineText(m.name);
    out += ';';
    out += kEol;
    out += lineText(m.inputName);
    out += ';';
    out += kEol;
    out += lineText(m.outputName);
    out += ';';
    out += kEol;
    addInt(out, m.xpower);
    addInt(out, m.ypower);
    out += kEol;
    addNumber(out, m.timeDiscretization);
    out += kEol;
    addNumber(out, m.k);
    out += kEol;
    addNumber(out, m.tau);
    out += kEol;
    addNumbers(out, m.num, m.xpower + 1);
    addNumbers(out, m.denum, m.ypower + 1);
    addNumbers(out, m.kx, m.xpower + 1);
    addNumbers(out, m.ky, m.ypower + 1);
    addNumber(out, m.R2);
    out += kEol;
    addNumber(out, m.R2norm);
    out += kEol;
    return out;
}

std::optional<TStaticModel> parseStaticModel(std::string_view text, std::string* reason) {
    ModelReader r(text);
    TStaticModel m;
    std::vector<std::string_view> counts, names;
    bool ok = r.exactLines(10) && r.name(0, m.name, "имя модели") && r.fields(1, 2, counts, "значений");
    ok = ok && r.integer(counts[0], 1, 0, 1000000, m.numOfX, "число входов");
    ok = ok && r.integer(counts[1], 1, 0, 1000000, m.numOfY, "число выходов");
    ok = ok && r.fields(2, static_cast<size_t>(m.numOfX), names, "имен входов");
    if (ok && std::any_of(names.begin(), names.end(), hasControlCharacter)) ok = r.failAt(2, "не читаются имена входов");
    if (ok)
        for (auto nm : names) m.inputName.emplace_back(nm);
    ok = ok && r.name(3, m.outputName, "имя выхода");
    std::string_view nText, flag;
    ok = ok && r.field(4, nText, "число коэффициентов") && r.integer(nText, 4, 0, 1000000, m.n, "число коэффициентов");
    if (ok && (m.n < m.numOfX + 1 || m.n > m.numOfX + 2))
        ok = r.failAt(4, "число коэффициентов " + std::to_string(m.n) + " не согласуется с числом входов " +
                             std::to_string(m.numOfX));
    ok = ok && r.numbers(5, m.n, m.A, "коэффициентов");
    ok = ok && r.number(6, m.c, "свободный член");
    // Anything but the two written words is a damaged flag: read as "false" it would drop
    // the free term from the model's output and from the next save.
    ok = ok && r.field(7, flag, "признак свободного члена");
    if (ok && flag != "true" && flag != "false") ok = r.failAt(7, "не читается признак свободного члена");
    if (ok) m.coinCheck = flag == "true";
    ok = ok && r.number(8, m.R2, "R2");
    ok = ok && r.number(9, m.R2norm, "R2norm");
    if (!ok) {
        setReason(reason, r.reason);
        return std::nullopt;
    }
    return m;
}

std::optional<TDynamicModel> parseDynamicModel(std::string_view text, std::string* reason) {
    ModelReader r(text);
    TDynamicModel m;
    std::vector<std::string_view> orders;
    bool ok = r.exactLines(13) && r.name(0, m.name, "имя модели") && r.name(1, m.inputName, "имя входа") &&
              r.name(2, m.outputName, "имя выхода") && r.fields(3, 2, orders, "значений");
    ok = ok && r.integer(orders[0], 3, 0, kMaxDynamicOrder, m.xpower, "порядок числителя");
    ok = ok && r.integer(orders[1], 3, 0, kMaxDynamicOrder, m.ypower, "порядок знаменателя");
    ok = ok && r.number(4, m.timeDiscretization, "шаг дискретизации");
    ok = ok && r.number(5, m.k, "коэффициент усиления");
    ok = ok && r.number(6, m.tau, "запаздывание");
    ok = ok && r.numbers(7, m.xpower + 1, m.num, "числителя");
    ok = ok && r.numbers(8, m.ypower + 1, m.denum, "знаменателя");
    ok = ok && r.numbers(9, m.xpower + 1, m.kx, "kx");
    ok = ok && r.numbers(10, m.ypower + 1, m.ky, "ky");
    ok = ok && r.number(11, m.R2, "R2");
    ok = ok && r.number(12, m.R2norm, "R2norm");
    if (!ok) {
        setReason(reason, r.reason);
        return std::nullopt;
    }
    return m;
}

bool writeStaticModelFile(const std::string& path, const TStaticModel& model, std::string* error) {
    return writeFileAtomic(path, staticModelText(model), error);
}

bool writeDynamicModelFile(const std::string& path, const TDynamicModel& model, std::string* error) {
    return writeFileAtomic(path, dynamicModelText(model), error);
}
