#include "core/ModelFiles.h"

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

// Reads the lines of a model file one by one, remembering why reading stopped.
class ModelReader {
public:
    explicit ModelReader(std::string_view text) : lines_(splitLines(text)) {
        while (!lines_.empty() && lines_.back().find_first_not_of(" \t") == std::string_view::npos)
            lines_.pop_back();
    }

    bool empty() const { return lines_.empty(); }
    bool hasLines(size_t n) const { return lines_.size() >= n; }
    std::string_view line(size_t i) const { return lines_[i]; }

    bool number(size_t lineIndex, long double& v, const char* what) {
        const auto r = strToFloat(firstField(lines_[lineIndex]));
        if (!r) return fail(std::string("не читается ") + what + " (строка " + std::to_string(lineIndex + 1) + ")");
        v = *r;
        return true;
    }
    bool number(size_t lineIndex, double& v, const char* what) {
        long double x = 0;
        if (!number(lineIndex, x, what)) return false;
        v = static_cast<double>(x);
        return true;
    }
    // Exactly `count` numbers in the line.
    bool numbers(size_t lineIndex, int count, arrayOfExtended& out, const char* what) {
        const auto fields = storedFields(lines_[lineIndex]);
        if (fields.size() != static_cast<size_t>(count))
            return fail(std::string("число значений ") + what + " (" + std::to_string(fields.size()) +
                        ") не равно " + std::to_string(count) + " (строка " + std::to_string(lineIndex + 1) + ")");
        out.clear();
        for (auto f : fields) {
            const auto r = strToFloat(f);
            if (!r) return fail(std::string("не читается ") + what + " (строка " + std::to_string(lineIndex + 1) + ")");
            out.push_back(*r);
        }
        return true;
    }
    bool integer(std::string_view field, size_t lineIndex, int lo, int hi, int& v, const char* what) {
        const auto r = readStoredInt(field);
        if (!r) return fail(std::string("не читается ") + what + " (строка " + std::to_string(lineIndex + 1) + ")");
        if (*r < lo || *r > hi)
            return fail(std::string(what) + " вне допустимых пределов: " + std::to_string(*r) + " (строка " +
                        std::to_string(lineIndex + 1) + ")");
        v = *r;
        return true;
    }
    bool fail(std::string why) {
        reason = std::move(why);
        return false;
    }

    std::string reason;

private:
    std::vector<std::string_view> lines_;
};

void setReason(std::string* out, const std::string& why) {
    if (out) *out = why;
}

// Whether a model file has at least minLines lines; if not, the reason says why.
bool hasLinesOrReason(const ModelReader& r, size_t minLines, std::string* reason) {
    if (r.empty()) {
        setReason(reason, "файл пуст");
        return false;
    }
    if (!r.hasLines(minLines)) {
        setReason(reason, "в файле меньше " + std::to_string(minLines) + " строк");
        return false;
    }
    return true;
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
    if (!hasLinesOrReason(r, 10, reason)) return std::nullopt;
    TStaticModel m;
    m.name = std::string(wholeField(r.line(0)));
    const auto counts = storedFields(r.line(1));
    bool ok = counts.size() >= 2 || r.fail("нет числа входов и выходов (строка 2)");
    ok = ok && r.integer(counts[0], 1, 0, 1000000, m.numOfX, "число входов");
    ok = ok && r.integer(counts[1], 1, 0, 1000000, m.numOfY, "число выходов");
    if (ok) {
        const auto names = storedFields(r.line(2));
        if (names.size() != static_cast<size_t>(m.numOfX))
            ok = r.fail("число имен входов (" + std::to_string(names.size()) + ") не равно числу входов " +
                        std::to_string(m.numOfX) + " (строка 3)");
        for (auto nm : names) m.inputName.emplace_back(nm);
    }
    if (ok) m.outputName = std::string(wholeField(r.line(3)));
    ok = ok && r.integer(firstField(r.line(4)), 4, 0, 1000000, m.n, "число коэффициентов");
    if (ok && (m.n < m.numOfX + 1 || m.n > m.numOfX + 2))
        ok = r.fail("число коэффициентов " + std::to_string(m.n) + " не согласуется с числом входов " +
                    std::to_string(m.numOfX) + " (строка 5)");
    ok = ok && r.numbers(5, m.n, m.A, "коэффициентов");
    ok = ok && r.number(6, m.c, "свободный член");
    if (ok) {
        // Anything but the two written words is a damaged flag: read as "false" it would drop
        // the free term from the model's output and from the next save.
        const std::string_view flag = firstField(r.line(7));
        if (flag == "true" || flag == "false") m.coinCheck = flag == "true";
        else ok = r.fail("не читается признак свободного члена (строка 8)");
    }
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
    if (!hasLinesOrReason(r, 13, reason)) return std::nullopt;
    TDynamicModel m;
    m.name = std::string(wholeField(r.line(0)));
    m.inputName = std::string(wholeField(r.line(1)));
    m.outputName = std::string(wholeField(r.line(2)));
    const auto orders = storedFields(r.line(3));
    bool ok = orders.size() >= 2 || r.fail("нет порядков модели (строка 4)");
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
