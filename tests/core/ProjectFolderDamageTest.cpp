// A damaged project folder is read whole, exactly as stored, or its load reports the file and
// line it could not read; a reported load leaves the project unbound, so nothing is written
// over the folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <set>

#include "TempDir.h"
#include "core/FileSystem.h"
#include "core/Project.h"
#include "core/ProjectFolder.h"
#include "core/SafeFileName.h"
#include "core/StoredFormat.h"
#include "numerics/Reporter.h"
#include "numerics/TextCodec.h"

namespace fs = std::filesystem;

namespace {

double at(int h, int mi) { return *encodeDateTime({2024, 3, 2, h, mi, 0, 0}); }

// A small plant project: three series (one laboratory), a good and a bad interval, a static
// and a dynamic model, saved as <dir>/p/p.prj.
void saveSmallProject(const std::string& dir) {
    TProject p;
    auto add = [&](const std::string& title, std::vector<double> ys, int32_t colour, bool lab) {
        TStatisticSeries s;
        s.Title = title;
        s.color = colour;
        for (size_t i = 0; i < ys.size(); ++i) s.AddXY(at(0, static_cast<int>(i)), ys[i]);
        p.addSeries(s, lab, false);
    };
    add("Расход", {20.75, -0.000015, 21.5, 22}, 255, false);
    add("Давление", {101325.5, 101326.25, 101324, 101330}, -1, false);
    add("Температура", {71.2, 70.9}, 65280, true);
    TFragment good(1, at(0, 0), at(0, 3));
    good.name = "Хороший";
    TFragment bad(0, at(0, 1), at(0, 2));
    bad.name = "Плохой";
    p.userFragments = {good, bad};
    TStaticModel sm;
    sm.name = "Модель статики";
    sm.numOfX = 2;
    sm.numOfY = 1;
    sm.inputName = {"Давление", "Lab_Температура"};
    sm.outputName = "Расход";
    sm.n = 3;
    sm.A = {0, 2, -0.5L};
    sm.c = 10;
    sm.coinCheck = true;
    sm.R2 = 0.987654321;
    sm.R2norm = 0.98;
    p.addStaticModel(sm, false);
    TDynamicModel dm;
    dm.name = "Модель динамики";
    dm.inputName = "Давление";
    dm.outputName = "Расход";
    dm.xpower = 1;
    dm.ypower = 1;
    dm.timeDiscretization = 1;
    dm.k = 2;
    dm.tau = 3;
    dm.num = {10, 1};
    dm.denum = {2, 0};
    dm.kx = {0.2L, 0};
    dm.ky = {1, -0.8L};
    dm.R2 = 1;
    dm.R2norm = 0.989;
    p.addDynamicModel(dm, false);
    ASSERT_TRUE(p.saveas(dir + "/p.prj"));
}

// ---- what a project holds, compared by value ----

struct Content {
    struct Series {
        std::string title;
        bool lab = false;
        int32_t colour = 0;
        std::vector<double> xs, ys;
    };
    struct Interval {
        std::string name;
        long double start = 0, end = 0;
        int type = 0;
    };
    std::vector<Series> series;
    std::vector<Interval> intervals;
    std::vector<TStaticModel> statics;
    std::vector<TDynamicModel> dynamics;
};

Content contentOf(const TProject& p) {
    Content c;
    for (const auto& s : p.seriesList) c.series.push_back({s->Title, s->labRow, s->color, s->XValues(), s->YValues()});
    for (const auto& f : p.userFragments) c.intervals.push_back({f.name, f.startPoint, f.endPoint, f.typeOfFragments()});
    for (const auto& m : p.statModels) c.statics.push_back(*m);
    for (const auto& m : p.dynModels) c.dynamics.push_back(*m);
    return c;
}

template <class T>
bool same(T a, T b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

template <class T>
bool sameList(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](T x, T y) { return same(x, y); });
}

// The first difference between two contents, or "" when they hold the same values.
std::string difference(const Content& a, const Content& b) {
    if (a.series.size() != b.series.size()) return "series count";
    for (size_t i = 0; i < a.series.size(); ++i) {
        const auto &x = a.series[i], &y = b.series[i];
        if (x.title != y.title || x.lab != y.lab || x.colour != y.colour || !sameList(x.xs, y.xs) || !sameList(x.ys, y.ys))
            return "series " + x.title + " / " + y.title;
    }
    if (a.intervals.size() != b.intervals.size()) return "interval count";
    for (size_t i = 0; i < a.intervals.size(); ++i) {
        const auto &x = a.intervals[i], &y = b.intervals[i];
        if (x.name != y.name || !same(x.start, y.start) || !same(x.end, y.end) || x.type != y.type)
            return "interval " + x.name + " / " + y.name;
    }
    if (a.statics.size() != b.statics.size()) return "static model count";
    for (size_t i = 0; i < a.statics.size(); ++i) {
        const auto &x = a.statics[i], &y = b.statics[i];
        if (x.name != y.name || x.numOfX != y.numOfX || x.numOfY != y.numOfY || x.inputName != y.inputName ||
            x.outputName != y.outputName || x.n != y.n || !sameList(x.A, y.A) || !same(x.c, y.c) ||
            x.coinCheck != y.coinCheck || !same(x.R2, y.R2) || !same(x.R2norm, y.R2norm))
            return "static model " + x.name + " / " + y.name;
    }
    if (a.dynamics.size() != b.dynamics.size()) return "dynamic model count";
    for (size_t i = 0; i < a.dynamics.size(); ++i) {
        const auto &x = a.dynamics[i], &y = b.dynamics[i];
        if (x.name != y.name || x.inputName != y.inputName || x.outputName != y.outputName || x.xpower != y.xpower ||
            x.ypower != y.ypower || !same(x.timeDiscretization, y.timeDiscretization) || !same(x.k, y.k) ||
            !same(x.tau, y.tau) || !sameList(x.num, y.num) || !sameList(x.denum, y.denum) || !sameList(x.kx, y.kx) ||
            !sameList(x.ky, y.ky) || !same(x.R2, y.R2) || !same(x.R2norm, y.R2norm))
            return "dynamic model " + x.name + " / " + y.name;
    }
    return "";
}

// ---- an independent reading by the layouts alone (the oracle of the property test) ----

// UTF-8, or Windows-1251 for a file with no more well-formed multi-byte sequences than stray
// bytes; nullopt for a UTF-8 file with a stray byte.
std::optional<std::string> decodeOrNothing(std::string bytes) {
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    size_t sequences = 0, stray = 0;
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const size_t len = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        bool good = len > 0 && i + len <= bytes.size();
        for (size_t k = 1; good && k < len; ++k) good = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        // Overlong three- and four-byte forms, surrogates and code points beyond U+10FFFF.
        if (good && len == 3) {
            const auto c1 = static_cast<unsigned char>(bytes[i + 1]);
            good = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);
        }
        if (good && len == 4) {
            const auto c1 = static_cast<unsigned char>(bytes[i + 1]);
            good = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
        }
        if (!good) {
            ++stray;
            ++i;
        } else {
            sequences += len > 1;
            i += len;
        }
    }
    if (stray == 0) return bytes;
    if (sequences > stray) return std::nullopt;
    return cp1251ToUtf8(bytes);
}

std::vector<std::string> layoutLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        pos = end + 1;
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos) lines.pop_back();
    return lines;
}

// Exactly n fields, each ended by ";".
std::optional<std::vector<std::string>> fieldsOf(const std::string& line, size_t n) {
    if (n == 0) return line.empty() ? std::optional<std::vector<std::string>>(std::vector<std::string>{}) : std::nullopt;
    if (line.empty() || line.back() != ';') return std::nullopt;
    std::vector<std::string> f;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t semi = line.find(';', pos);
        f.push_back(line.substr(pos, semi - pos));
        pos = semi + 1;
    }
    if (f.size() != n) return std::nullopt;
    return f;
}

std::optional<std::vector<std::string>> fileLines(const std::string& path) {
    if (!fs::is_regular_file(path)) return std::nullopt;
    const auto text = decodeOrNothing(readBytes(path));
    if (!text) return std::nullopt;
    return layoutLines(*text);
}

// The data file of a name, as the project names its files.
std::optional<std::string> dataFile(const std::string& dir, const std::string& name, const char* ext) {
    for (const std::string& stem : {safeFileName(name), name}) {
        if (stem.find('/') != std::string::npos || stem.empty() || stem == "." || stem == "..") continue;
        if (fs::is_regular_file(dir + "/" + stem + ext)) return fs::canonical(dir + "/" + stem + ext).string();
    }
    return std::nullopt;
}

bool number(const std::string& text, long double& v) {
    const auto r = strToFloat(text);
    if (r) v = *r;
    return r.has_value();
}
bool number(const std::string& text, double& v) {
    long double x = 0;
    if (!number(text, x)) return false;
    v = static_cast<double>(x);
    return true;
}
bool integer(const std::string& text, int lo, int hi, int& v) {
    const auto r = readStoredInt(text);
    if (!r || *r < lo || *r > hi) return false;
    v = *r;
    return true;
}
bool oneNumber(const std::string& line, double& v) {
    const auto f = fieldsOf(line, 1);
    return f && number((*f)[0], v);
}
bool oneNumber(const std::string& line, long double& v) {
    const auto f = fieldsOf(line, 1);
    return f && number((*f)[0], v);
}
bool numbers(const std::string& line, int count, arrayOfExtended& out) {
    const auto f = fieldsOf(line, static_cast<size_t>(count));
    if (!f) return false;
    out.clear();
    for (const auto& t : *f) {
        long double v = 0;
        if (!number(t, v)) return false;
        out.push_back(v);
    }
    return true;
}
bool hasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}
// A name line: one field that may hold ";", and no control character.
bool name(const std::string& line, std::string& out) {
    if (line.empty() || line.back() != ';') return false;
    out = line.substr(0, line.size() - 1);
    return !hasControl(out);
}

std::optional<Content::Series> seriesByLayout(const std::string& path, const std::string& title) {
    const auto lines = fileLines(path);
    if (!lines || lines->size() < 2 || ((*lines)[0] != "true" && (*lines)[0] != "false")) return std::nullopt;
    const auto colour = readStoredInt((*lines)[1]);
    if (!colour) return std::nullopt;
    Content::Series s{title, (*lines)[0] == "true", *colour, {}, {}};
    for (size_t i = 2; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        const auto f = fieldsOf(line, 2);
        if (!f) return std::nullopt;
        const auto x = readStoredDateTime((*f)[0]);
        const auto y = readStoredFloat((*f)[1]);
        if (!x || !y) return std::nullopt;
        s.xs.push_back(*x);
        s.ys.push_back(*y);
    }
    return s;
}

std::optional<TStaticModel> staticByLayout(const std::string& path) {
    const auto l = fileLines(path);
    if (!l || l->size() != 10) return std::nullopt;
    TStaticModel m;
    const auto counts = fieldsOf((*l)[1], 2);
    if (!name((*l)[0], m.name) || !counts || !integer((*counts)[0], 0, 1000000, m.numOfX) ||
        !integer((*counts)[1], 0, 1000000, m.numOfY))
        return std::nullopt;
    const auto inputs = fieldsOf((*l)[2], static_cast<size_t>(m.numOfX));
    const auto n = fieldsOf((*l)[4], 1);
    if (!inputs || !name((*l)[3], m.outputName) || !n || !integer((*n)[0], m.numOfX + 1, m.numOfX + 2, m.n))
        return std::nullopt;
    m.inputName = *inputs;
    if (std::any_of(inputs->begin(), inputs->end(), hasControl)) return std::nullopt;
    const auto flag = fieldsOf((*l)[7], 1);
    if (!numbers((*l)[5], m.n, m.A) || !oneNumber((*l)[6], m.c) || !flag || ((*flag)[0] != "true" && (*flag)[0] != "false") ||
        !oneNumber((*l)[8], m.R2) || !oneNumber((*l)[9], m.R2norm))
        return std::nullopt;
    m.coinCheck = (*flag)[0] == "true";
    return m;
}

std::optional<TDynamicModel> dynamicByLayout(const std::string& path) {
    const auto l = fileLines(path);
    if (!l || l->size() != 13) return std::nullopt;
    TDynamicModel m;
    const auto orders = fieldsOf((*l)[3], 2);
    if (!name((*l)[0], m.name) || !name((*l)[1], m.inputName) || !name((*l)[2], m.outputName) || !orders ||
        !integer((*orders)[0], 0, 10, m.xpower) || !integer((*orders)[1], 0, 10, m.ypower) ||
        !oneNumber((*l)[4], m.timeDiscretization) || !oneNumber((*l)[5], m.k) || !oneNumber((*l)[6], m.tau) ||
        !numbers((*l)[7], m.xpower + 1, m.num) || !numbers((*l)[8], m.ypower + 1, m.denum) ||
        !numbers((*l)[9], m.xpower + 1, m.kx) || !numbers((*l)[10], m.ypower + 1, m.ky) || !oneNumber((*l)[11], m.R2) ||
        !oneNumber((*l)[12], m.R2norm))
        return std::nullopt;
    return m;
}

// The content of a project folder read by the layouts alone; nullopt when any line of any
// file breaks its layout, a listed file is missing or listed twice.
std::optional<Content> readByLayout(const std::string& folder, const std::string& prjName) {
    const auto prj = fileLines(folder + "/" + prjName);
    if (!prj) return std::nullopt;
    Content c;
    std::set<std::string> files;
    const std::string data = folder + "/data";
    bool anySection = false;
    for (size_t i = 0; i < prj->size(); ++i) {
        const std::string section = (*prj)[i];
        if (section != "*series" && section != "*interval" && section != "*staticmodel" && section != "*dynamicmodel") {
            if (section.find_first_not_of(" \t") != std::string::npos) return std::nullopt;
            continue;
        }
        anySection = true;
        for (++i;; ++i) {
            if (i >= prj->size()) return std::nullopt;
            const std::string& line = (*prj)[i];
            if (line == "*") break;
            if (section == "*interval") {
                const auto f = fieldsOf(line, 4);
                if (!f) return std::nullopt;
                const auto start = readStoredDateTime((*f)[1]);
                const auto end = readStoredDateTime((*f)[2]);
                int type = 0;
                if (!start || !end || !integer((*f)[3], 0, 255, type) || hasControl((*f)[0])) return std::nullopt;
                c.intervals.push_back({(*f)[0], *start, *end, type});
                continue;
            }
            const auto f = fieldsOf(line, 1);
            if (!f || hasControl((*f)[0]) || (section == "*series" && (*f)[0].find('\\') != std::string::npos))
                return std::nullopt;
            const char* sub = section == "*series" ? "/series" : section == "*staticmodel" ? "/staticmodels" : "/dynamicmodels";
            const char* ext = section == "*series" ? ".ls" : section == "*staticmodel" ? ".sm" : ".dm";
            const auto path = dataFile(data + sub, (*f)[0], ext);
            if (!path || !files.insert(*path).second) return std::nullopt;
            if (section == "*series") {
                auto s = seriesByLayout(*path, (*f)[0]);
                if (!s) return std::nullopt;
                c.series.push_back(std::move(*s));
            } else if (section == "*staticmodel") {
                auto m = staticByLayout(*path);
                if (!m) return std::nullopt;
                c.statics.push_back(std::move(*m));
            } else {
                auto m = dynamicByLayout(*path);
                if (!m) return std::nullopt;
                c.dynamics.push_back(std::move(*m));
            }
        }
    }
    if (!anySection) return std::nullopt;
    // Every series and model file of the folder is listed.
    for (const auto& [sub, ext] : {std::pair{"/series", ".ls"}, {"/staticmodels", ".sm"}, {"/dynamicmodels", ".dm"}}) {
        if (!fs::is_directory(data + sub)) continue;
        for (const auto& e : fs::directory_iterator(data + sub))
            if (e.is_regular_file() && e.path().extension() == ext && !files.count(fs::canonical(e.path()).string()))
                return std::nullopt;
    }
    return c;
}

// ---- hand-made damage ----

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) text.replace(pos, from.size(), to);
    return text;
}

// Each damage the loader once read silently, and its report; what the layout leaves free
// (an empty last line, LF line ends, a byte-order mark) still loads whole.
TEST(ProjectFolderDamage, EachDamageIsReportedWithItsFileAndLine) {
    // The .prj: 1 "*series", 2..4 the series, 5 "*", 6 "*interval", 7 "Хороший", 8 "Плохой",
    // 9 "*", 10 "*staticmodel", 11 the model, 12 "*", 13 "*dynamicmodel", 14 the model, 15 "*".
    struct Case {
        const char* what;
        const char* file;
        std::function<std::string(const std::string&)> damage;
        std::vector<std::string> problems;  // whole lines; {f} stands for the project folder
    };
    const std::string good = "Хороший;02.03.2024;02.03.2024 0:03:00;1;\r\n";
    const Case cases[] = {
        {"a point line joined to the next", "data/series/Расход.ls",
         [](const std::string& t) { return replaced(t, "20,75;\r\n", "20,75;x"); },
         {"Ряд \"Расход\": пропущено нечитаемых строк: 1 (первая — строка 3 файла \"{f}/data/series/Расход.ls\")"}},
        {"a semicolon inside a value", "data/series/Расход.ls",
         [](const std::string& t) { return replaced(t, "20,75;", "20,7;5;"); },
         {"Ряд \"Расход\": пропущено нечитаемых строк: 1 (первая — строка 3 файла \"{f}/data/series/Расход.ls\")"}},
        {"a last value without its semicolon", "data/series/Давление.ls",
         [](const std::string& t) { return replaced(t, "101330;\r\n", "101330"); },
         {"Ряд \"Давление\": пропущено нечитаемых строк: 1 (первая — строка 6 файла \"{f}/data/series/Давление.ls\")"}},
        {"an interval line joined to the next", "p.prj",
         [&](const std::string& t) { return replaced(t, ";1;\r\nПлохой", ";1;xПлохой"); },
         {"Интервал в строке 7 файла проекта не прочитан: \"" + good.substr(0, good.size() - 2) +
          "xПлохой;02.03.2024 0:01:00;02.03.2024 0:02:00;0;\""}},
        // The files of the lost lines are named too: a project keeps no file it does not list.
        {"two series lines joined", "p.prj", [](const std::string& t) { return replaced(t, "Расход;\r\n", "Расход;"); },
         {"Строка 2 раздела \"*series\" файла проекта не прочитана: \"Расход;Давление;\"",
          "Файлы папки \"{f}/data/series\" не указаны в файле проекта и не загружены (2): \"Давление.ls\", "
          "\"Расход.ls\""}},
        {"a model line lost", "p.prj", [](const std::string& t) { return replaced(t, "Модель динамики;\r\n", ""); },
         {"Файл \"{f}/data/dynamicmodels/Модель динамики.dm\" не указан в файле проекта и не загружен"}},
        // The writers turn control characters into blanks, so one in a name is damage.
        {"a line break inside a model name", "data/staticmodels/Модель статики.sm",
         [](const std::string& t) { return replaced(t, "Модель статики;", "Мод\rель статики;"); },
         {"Статическая модель \"Модель статики\" не загружена: не читается имя модели (строка 1) "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        {"a series line twice", "p.prj",
         [](const std::string& t) { return replaced(t, "Давление;\r\n", "Давление;\r\nДавление;\r\n"); },
         {"Ряд \"Давление\" не загружен: строка 4 файла проекта повторяет файл, указанный выше"}},
        {"a model line twice", "p.prj",
         [](const std::string& t) { return replaced(t, "Модель статики;\r\n", "Модель статики;\r\nМодель статики;\r\n"); },
         {"Статическая модель \"Модель статики\" не загружена: строка 12 файла проекта повторяет файл, указанный выше "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        {"line 8 of a dynamic model twice", "data/dynamicmodels/Модель динамики.dm",
         [](const std::string& t) { return replaced(t, "10;1;\r\n", "10;1;\r\n10;1;\r\n"); },
         {"Динамическая модель \"Модель динамики\" не загружена: лишняя строка 14 (в файле модели 13 строк) "
          "(\"{f}/data/dynamicmodels/Модель динамики.dm\")"}},
        {"line 9 of a static model twice", "data/staticmodels/Модель статики.sm",
         [](const std::string& t) { return replaced(t, "0,987654321;\r\n", "0,987654321;\r\n0,987654321;\r\n"); },
         {"Статическая модель \"Модель статики\" не загружена: лишняя строка 11 (в файле модели 10 строк) "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        {"a semicolon inside R2", "data/staticmodels/Модель статики.sm",
         [](const std::string& t) { return replaced(t, "0,987654321;", "0,;987654321;"); },
         {"Статическая модель \"Модель статики\" не загружена: не читается R2 (строка 9) "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        {"a line of a static model lost", "data/staticmodels/Модель статики.sm",
         [](const std::string& t) { return replaced(t, "Расход;\r\n", ""); },
         {"Статическая модель \"Модель статики\" не загружена: в файле меньше 10 строк "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        // A blank where the second byte of "Д" was: read as Windows-1251, every name of the
        // model would come out garbled and match no series.
        {"a bad byte in a UTF-8 model file", "data/staticmodels/Модель статики.sm",
         [](const std::string& t) { return replaced(t, "\xD0\x94\xD0\xB0\xD0\xB2", "\xD0 \xD0\xB0\xD0\xB2"); },
         {"Статическая модель \"Модель статики\" не загружена: в строке 3 есть байт, недопустимый в кодировке UTF-8 "
          "(\"{f}/data/staticmodels/Модель статики.sm\")"}},
        {"a bad byte in a UTF-8 project file", "p.prj",
         [](const std::string& t) { return replaced(t, "Плохой", "\xD0Плохой"); },
         {"Файл проекта \"{f}/p.prj\": в строке 8 есть байт, недопустимый в кодировке UTF-8"}},
    };
    TempDir dir;
    saveSmallProject(dir.path);
    const std::string folder = dir / "p";
    TProject original;
    ASSERT_TRUE(original.load(folder + "/p.prj"));
    const Content stored = contentOf(original);
    const auto intact = fileTree(folder);

    for (const Case& c : cases) {
        for (const auto& [rel, bytes] : intact)
            if (bytes != "<dir>") writeBytes(folder + "/" + rel, bytes);
        writeBytes(folder + "/" + c.file, c.damage(intact.at(c.file)));
        const auto damaged = fileTree(folder);
        TProject q;
        RecordingReporter rep;
        ASSERT_TRUE(q.load(folder + "/p.prj", &rep)) << c.what;
        std::string expected = "Проект загружен не полностью:";
        for (std::string line : c.problems) {
            for (size_t pos; (pos = line.find("{f}")) != std::string::npos;) line.replace(pos, 3, folder);
            expected += "\n" + line;
        }
        expected += "\nПроект не связан с папкой: при сохранении он будет записан в новую папку.";
        ASSERT_EQ(rep.entries.size(), 1u) << c.what;
        EXPECT_EQ(rep.entries[0].text, expected) << c.what;
        EXPECT_FALSE(q.projectAssign) << c.what;
        EXPECT_FALSE(q.save(&rep)) << c.what;
        EXPECT_EQ(fileTree(folder), damaged) << c.what;
    }

    // Free in every file: an empty last line, LF line ends, a byte-order mark.
    const std::vector<std::pair<const char*, std::function<std::string(const std::string&)>>> free = {
        {"empty last line", [](const std::string& t) { return t + "\r\n"; }},
        {"LF line ends",
         [](std::string t) {
             for (size_t pos; (pos = t.find("\r\n")) != std::string::npos;) t.erase(pos, 1);
             return t;
         }},
        {"byte-order mark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
    };
    for (const auto& [what, change] : free) {
        for (const auto& [rel, bytes] : intact)
            if (bytes != "<dir>") writeBytes(folder + "/" + rel, change(bytes));
        TProject q;
        RecordingReporter rep;
        ASSERT_TRUE(q.load(folder + "/p.prj", &rep)) << what;
        EXPECT_TRUE(rep.entries.empty()) << what << ": " << rep.texts()[0];
        EXPECT_TRUE(q.projectAssign) << what;
        EXPECT_EQ(difference(contentOf(q), stored), "") << what;
    }
}

// A folder damaged all over still gives a message that fits on the screen: unlisted files are
// named a few per folder, and at most 20 problems are listed.
TEST(ProjectFolderDamage, ManyProblemsGiveAShortMessage) {
    TempDir dir;
    TProject p;
    for (int i = 0; i < 30; ++i) {
        TStatisticSeries s;
        s.Title = "T" + std::to_string(100 + i);
        s.AddXY(45000, i);
        p.addSeries(s, false, false);
    }
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    const std::string folder = dir / "p";
    std::string prj = readBytes(folder + "/p.prj");
    writeBytes(folder + "/p.prj", replaced(prj, "*series", "*serie"));
    TProject q;
    RecordingReporter rep;
    ASSERT_TRUE(q.load(folder + "/p.prj", &rep));
    ASSERT_EQ(rep.entries.size(), 1u);
    EXPECT_EQ(rep.entries[0].text,
              "Проект загружен не полностью:\n"
              "Строки 1–32 файла проекта вне разделов не прочитаны (первая: \"*serie\")\n"
              "Файлы папки \"" + folder + "/data/series\" не указаны в файле проекта и не загружены (30): \"T100.ls\", "
              "\"T101.ls\", \"T102.ls\", \"T103.ls\", \"T104.ls\" и еще 25\n"
              "Проект не связан с папкой: при сохранении он будет записан в новую папку.");

    writeBytes(folder + "/p.prj", prj);
    for (int i = 0; i < 25; ++i) fs::remove(folder + "/data/series/T" + std::to_string(100 + i) + ".ls");
    TProject r;
    rep.clear();
    ASSERT_TRUE(r.load(folder + "/p.prj", &rep));
    const std::string& text = rep.entries.at(0).text;
    EXPECT_NE(text.find("Ряд \"T119\" не загружен"), std::string::npos);
    EXPECT_EQ(text.find("Ряд \"T120\""), std::string::npos);
    EXPECT_NE(text.find("\n… и еще замечаний: 5\nПроект не связан с папкой"), std::string::npos) << text;
    EXPECT_EQ(r.seriesCount(), 5);
}

// A save killed while it wrote the project file leaves ".<name>.prj.new.tmpNNNN"; the next save
// removes such files, and nothing that only looks like them.
TEST(ProjectFolderDamage, SaveTidiesTheTemporaryFilesOfItsOwnCutShortWrites) {
    TempDir dir;
    saveSmallProject(dir.path);
    const std::string folder = dir / "p";
    const std::vector<std::string> own = {".p.prj.new.tmp4", ".p.prj.new.tmp123456"};
    const std::vector<std::string> others = {".p.prj.new.tmp1234567", ".p.prj.new.tmp12a", ".p.prj.new.tmp",
                                             ".p.prj.tmp55",          ".q.prj.new.tmp55",  "p.prj.new.tmp55"};
    for (const auto& f : own) writeBytes(folder + "/" + f, "*series\r\nРас");
    for (const auto& f : others) writeBytes(folder + "/" + f, "keep");
    fs::create_directory(folder + "/.p.prj.new.tmp77");                     // a folder
    fs::create_symlink(folder + "/p.prj", folder + "/.p.prj.new.tmp78");  // a link

    // A refused save leaves them too.
    writeBytes(folder + "/data/notes.txt", "мое");
    TProject p;
    ASSERT_TRUE(p.load(folder + "/p.prj"));
    RecordingReporter rep;
    EXPECT_FALSE(p.save(&rep));
    for (const auto& f : own) EXPECT_TRUE(fs::exists(folder + "/" + f)) << f;

    fs::remove(folder + "/data/notes.txt");
    ASSERT_TRUE(p.save(&rep)) << rep.texts()[0];
    for (const auto& f : own) EXPECT_FALSE(fs::exists(folder + "/" + f)) << f;
    for (const auto& f : others) EXPECT_EQ(readBytes(folder + "/" + f), "keep") << f;
    EXPECT_TRUE(fs::is_directory(folder + "/.p.prj.new.tmp77"));
    EXPECT_TRUE(fs::is_symlink(folder + "/.p.prj.new.tmp78"));
}

// ---- random damage ----

struct Mutation {
    std::string file, what;
};

// One random one-byte or one-line change of one file of the folder.
Mutation mutate(const std::string& folder, const std::vector<std::string>& files, std::mt19937& rng) {
    auto pick = [&](size_t n) { return static_cast<size_t>(std::uniform_int_distribution<size_t>(0, n - 1)(rng)); };
    const std::string rel = files[pick(files.size())];
    std::string bytes = readBytes(folder + "/" + rel);
    static const std::string palette = std::string(";,. \r\n0123456789-ex*") + "\xD0\x80\xBF\xFF";
    auto someByte = [&]() -> char {
        return pick(4) == 0 ? static_cast<char>(pick(256)) : palette[pick(palette.size())];
    };
    // Line starts, for the line changes.
    std::vector<size_t> starts = {0};
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == '\n') starts.push_back(i + 1);
    auto lineAt = [&](size_t k) {
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : bytes.size();
        return bytes.substr(starts[k], end - starts[k]);
    };
    const size_t kind = pick(9);
    const size_t pos = pick(std::max<size_t>(bytes.size(), 1));
    const size_t line = pick(starts.size());
    std::string what;
    switch (kind) {
        case 0:
        case 1: {
            const char b = someByte();
            what = "byte " + std::to_string(pos) + " set to " + std::to_string(static_cast<unsigned char>(b));
            if (!bytes.empty()) bytes[pos] = b;
            break;
        }
        case 2:
            what = "byte " + std::to_string(pos) + " deleted";
            if (!bytes.empty()) bytes.erase(pos, 1);
            break;
        case 3: {
            const char b = someByte();
            what = "byte " + std::to_string(static_cast<unsigned char>(b)) + " inserted at " + std::to_string(pos);
            bytes.insert(pos, 1, b);
            break;
        }
        case 4:
            what = "line " + std::to_string(line + 1) + " deleted";
            bytes.erase(starts[line], lineAt(line).size());
            break;
        case 5:
            what = "line " + std::to_string(line + 1) + " duplicated";
            bytes.insert(starts[line], lineAt(line));
            break;
        case 6: {
            what = "line " + std::to_string(line + 1) + " joined to the next";
            std::string l = lineAt(line);
            const size_t keep = l.find_last_not_of("\r\n") + 1;
            bytes.erase(starts[line] + keep, l.size() - keep);
            break;
        }
        case 7:
            if (line + 1 < starts.size()) {
                what = "lines " + std::to_string(line + 1) + " and " + std::to_string(line + 2) + " swapped";
                const std::string a = lineAt(line), b = lineAt(line + 1);
                auto bare = [](const std::string& l) { return l.substr(0, l.find_last_not_of("\r\n") + 1); };
                const bool lastEnded = !b.empty() && b.back() == '\n';
                bytes.replace(starts[line], a.size() + b.size(), bare(b) + "\r\n" + bare(a) + (lastEnded ? "\r\n" : ""));
            } else {
                what = "blank line inserted at the end";
                bytes += "\r\n";
            }
            break;
        default: {
            const size_t from = pick(starts.size());
            what = "line " + std::to_string(line + 1) + " replaced by line " + std::to_string(from + 1);
            std::string l = lineAt(from);
            if (l.empty() || l.back() != '\n') l += "\r\n";
            bytes.replace(starts[line], lineAt(line).size(), l);
            break;
        }
    }
    writeBytes(folder + "/" + rel, bytes);
    return {rel, what};
}

struct Figures {
    int mutants = 0, reported = 0, roundTripped = 0;
};

// Each mutant either reports a load problem, leaves the project unbound and lets nothing be
// written over the folder, or loads exactly what its files hold by their layouts and gives
// the same content again after "Сохранить" and a new load.
Figures checkMutants(const std::string& templateFolder, const std::string& prjName, int count, unsigned seed) {
    Figures figures;
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(templateFolder))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), templateFolder).string());
    std::sort(files.begin(), files.end());
    std::mt19937 rng(seed);
    for (int n = 0; n < count; ++n) {
        TempDir dir;
        const std::string folder = dir / "m";
        fs::copy(templateFolder, folder, fs::copy_options::recursive);
        const Mutation m = mutate(folder, files, rng);
        const std::string where = "mutant " + std::to_string(n) + ": " + m.file + ", " + m.what;
        ++figures.mutants;
        const auto before = fileTree(folder);
        const auto byLayout = readByLayout(folder, prjName);

        TProject q;
        RecordingReporter rep;
        if (!q.load(folder + "/" + prjName, &rep)) {
            // The file is no project file any more: nothing is loaded.
            EXPECT_FALSE(byLayout) << where;
            ++figures.reported;
            continue;
        }
        if (!rep.entries.empty()) {
            ++figures.reported;
            EXPECT_FALSE(byLayout) << where << ": reported although whole: " << rep.entries[0].text;
            EXPECT_FALSE(q.projectAssign) << where;
            EXPECT_FALSE(q.save(&rep)) << where;
            EXPECT_EQ(fileTree(folder), before) << where;
            continue;
        }
        EXPECT_TRUE(byLayout) << where << ": read without a word";
        if (!byLayout) continue;
        const Content loaded = contentOf(q);
        EXPECT_EQ(difference(loaded, *byLayout), "") << where;
        if (!q.save(&rep)) {
            ADD_FAILURE() << where << ": " << rep.texts()[0];
            continue;
        }
        TProject again;
        RecordingReporter rep2;
        EXPECT_TRUE(again.load(folder + "/" + prjName, &rep2)) << where;
        EXPECT_TRUE(rep2.entries.empty()) << where << ": " << rep2.texts()[0];
        EXPECT_EQ(difference(contentOf(again), loaded), "") << where;
        ++figures.roundTripped;
    }
    return figures;
}

TEST(ProjectFolderDamage, RandomOneByteAndOneLineChangesAreReadWholeOrReported) {
    TempDir dir;
    saveSmallProject(dir.path);
    // TARVOLYN_MUTANTS=k runs k times as many, with other seeds, for a longer search.
    const char* scale = std::getenv("TARVOLYN_MUTANTS");
    const int k = scale ? std::max(1, std::atoi(scale)) : 1;
    const unsigned seed = k == 1 ? 0u : static_cast<unsigned>(std::random_device{}());
    if (k > 1) std::cout << "seed " << seed << "\n";
    const Figures utf8 = checkMutants(dir / "p", "p.prj", 500 * k, 20261207 + seed);
    const Figures cp1251 =
        checkMutants(std::string(TARVOLYN_TEST_DATA) + "/projects/cp1251", "Котельная.prj", 200 * k, 1251 + seed);
    for (const auto& [name, f] : {std::pair{"UTF-8", utf8}, std::pair{"Windows-1251", cp1251}}) {
        std::cout << name << " project: " << f.mutants << " mutants, " << f.reported << " reported, " << f.roundTripped
                  << " round-tripped\n";
        EXPECT_EQ(f.reported + f.roundTripped, f.mutants);
        // Both outcomes are exercised.
        EXPECT_GT(f.reported, f.mutants / 4);
        EXPECT_GT(f.roundTripped, f.mutants / 10);
    }
}

}  // namespace
