#include "exchange/HtmlReport.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/FileSystem.h"
#include "core/SafeFileName.h"
#include "numerics/Formatters.h"
#include "numerics/Reporter.h"

namespace fs = std::filesystem;

namespace {

const char* const kFooter =
    "<p style=\"text-align: right;\"><a href=\"https://www.tarvolyn.example/\" target=\"_blank\" "
    "rel=\"noopener\">Tarvolyn &mdash; пакет подготовки, статистической обработки и идентификации временных "
    "рядов</a></p>";

std::string pathText(const fs::path& p) { return p.string(); }

// The report folder: the chosen directory joined with the chosen name without its last
// extension, numbered "(1)", "(2)", ... while the name is taken.
bool createReportFolder(const std::string& chosen, fs::path& folder, std::string& fileName, Reporter& reporter) {
    const size_t slash = chosen.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : chosen.substr(0, slash + 1);
    fileName = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    if (fileName.empty() || fileName == "." || fileName == "..") {
        reporter.error("Не задано имя файла отчета!");
        return false;
    }
    std::string base = fileName;
    const size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    const std::string candidate = dir + base;
    const auto created = createUniqueFolder(candidate, kReportFolderAttempts + 1);
    if (!created) {
        reporter.error("Не удалось создать папку отчета: " + candidate);
        return false;
    }
    folder = fs::path(*created);
    return true;
}

// Writes the lines with CR LF through a temporary file renamed over the page.
bool writePage(const fs::path& page, const std::vector<std::string>& lines, Reporter& reporter) {
    std::string text;
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    if (writeFileAtomic(pathText(page), text)) return true;
    reporter.error("Не удалось записать файл: " + pathText(page));
    return false;
}

void headBlock(std::vector<std::string>& l, const std::string& title, const std::string& modelName) {
    // The page's character set; the page is written in UTF-8.
    l.push_back("<meta charset=\"utf-8\" />");
    l.push_back("<p style=\"text-align: right;\"><strong><img style=\"float: left;\" src=\"data/logo.bmp\" alt=\"logo\" width=\"58\" height=\"58\" /></strong></p>");
    l.push_back("<h3 style=\"text-align: right;\"><strong><span style=\"color: #000080;\">Tarvolyn</span></strong></h3>");
    l.push_back("<h3 style=\"text-align: right;\"><strong><span style=\"color: #000080;\">ООО &laquo;Veltrane&raquo;</span></strong></h3>");
    l.push_back("<hr />");
    l.push_back("<h1 style=\"color: #5e9ca0; text-align: center;\"><span style=\"color: #000080;\">" + title + "</span></h1>");
    l.push_back("<h2 style=\"text-align: center;\"><span style=\"color: #000080;\">Модель: " + htmlEscape(modelName) + "</span></h2>");
}

void textTableBlock(std::vector<std::string>& l, const std::string& heading, const std::string& text) {
    l.push_back("<h3><span style=\"color: #000080;\">" + heading + "</span></h3>");
    l.push_back("<table style=\"border-collapse: collapse; width: 100%;\" border=\"1\">");
    l.push_back("<tbody>");
    l.push_back("<tr>");
    l.push_back("<td style=\"width: 100%;\">" + htmlEscape(text) + "</td>");
    l.push_back("</tr>");
    l.push_back("</tbody>");
    l.push_back("</table>");
}

void modelTextBlock(std::vector<std::string>& l, const std::string& text) {
    l.push_back("<h3><span style=\"color: #000080;\">Полученная модель:</span></h3>");
    l.push_back("<table style=\"border-collapse: collapse; width: 100%; height: 18px;\" border=\"1\">");
    l.push_back("<tbody>");
    l.push_back("<tr style=\"height: 18px;\">");
    l.push_back("<td style=\"width: 100%; height: 18px;\">" + htmlEscape(text) + "</td>");
    l.push_back("</tr>");
    l.push_back("</tbody>");
    l.push_back("</table>");
}

void parametersBlock(std::vector<std::string>& l, int xpower, int ypower, double step, double tau) {
    l.push_back("<h3><span style=\"color: #000080;\">Параметры идентификации:</span></h3>");
    l.push_back("<div style=\"text-align: center;\">");
    l.push_back("<table style=\"display: inline-block; height: 157px; width: 450px;\" border=\"1\" width=\"286\">");
    l.push_back("<tbody>");
    const std::pair<const char*, std::string> rows[] = {
        {"Степень РУ по X", std::to_string(xpower)},
        {"Степень РУ по Y", std::to_string(ypower)},
        {"Шаг дискретизации", formatNumber(step)},
        {"Запаздывание", formatNumber(tau)},
    };
    for (const auto& [label, value] : rows) {
        l.push_back("<tr style=\"height: 36px;\">");
        l.push_back(std::string("<td style=\"width: 333px; text-align: left; height: 36px;\">") + label + "</td>");
        l.push_back("<td style=\"width: 107px; text-align: left; height: 36px;\">" + htmlEscape(value) + "</td>");
        l.push_back("</tr>");
    }
    l.push_back("</tbody>");
    l.push_back("</table>");
    l.push_back("</div>");
}

void transferFunctionBlock(std::vector<std::string>& l, const std::string& num, const std::string& den) {
    l.push_back("<h3><span style=\"color: #000080;\">Полученная передаточная функция:</span></h3>");
    l.push_back("<table style=\"height: 18px; width: 100%; border-collapse: collapse; margin-left: auto; margin-right: auto;\" border=\"1\">");
    l.push_back("<tbody>");
    l.push_back("<tr style=\"height: 18px;\">");
    l.push_back("<td style=\"height: 18px; border-style: none; width: 60px;\">");
    l.push_back("<p style=\"text-align: left;\">&nbsp;w(s) =&nbsp;</p>");
    l.push_back("</td>");
    l.push_back("<td style=\"border-style: none; width: 100%-60px;\">");
    l.push_back("<p>" + htmlEscape(num) + "</p>");
    l.push_back("<hr />");
    l.push_back("<p>" + htmlEscape(den) + "</p>");
    l.push_back("</td>");
    l.push_back("</tr>");
    l.push_back("</tbody>");
    l.push_back("</table>");
}

// The comparison table; `test` is null for the one-column tables.
template <size_t N>
void comparisonBlock(std::vector<std::string>& l, const std::string& tableLine, const std::array<std::string, N>& labels,
                     const std::string* first, const std::string* test) {
    l.push_back("<h3 style=\"color: #2e6c80;\"><span style=\"color: #000080;\">Сравнительные характеристики модели:</span></h3>");
    l.push_back("<div style=\"text-align: center;\">");
    l.push_back(tableLine);
    l.push_back("<tbody>");
    l.push_back("<tr style=\"height: 36px;\">");
    l.push_back("<td style=\"width: 333px; text-align: left; height: 36px;\">Параметр</td>");
    if (test) {
        l.push_back("<td style=\"width: 107px; text-align: left; height: 36px;\">Обучающая выборка</td>");
        l.push_back("<td style=\"width: 107px; text-align: left; height: 36px;\">Тестовая выборка</td>");
    } else {
        l.push_back("<td style=\"width: 107px; text-align: left; height: 36px;\">Значение</td>");
    }
    l.push_back("</tr>");
    for (size_t i = 0; i < N; ++i) {
        l.push_back("<tr style=\"height: 18px;\">");
        l.push_back("<td style=\"width: 333px; height: 18px; text-align: left;\">" + labels[i] + "</td>");
        l.push_back("<td style=\"width: 107px; height: 18px; text-align: left;\">" + htmlEscape(first[i]) + "</td>");
        if (test) l.push_back("<td style=\"width: 107px; text-align: left; height: 18px;\">" + htmlEscape(test[i]) + "</td>");
        l.push_back("</tr>");
    }
    l.push_back("</tbody>");
    l.push_back("</table>");
    l.push_back("</div>");
}

const char* const kTrainingPicture =
    "<p><span style=\"color: #000080;\"><img style=\"display: block; margin-left: auto; margin-right: auto;\" "
    "src=\"data/educationPlot.bmp\" alt=\"educationPlot\" width=\"800\" height=\"400\" /></span></p>";
const char* const kTestPicture =
    "<p><span style=\"color: #000080;\"><img style=\"display: block; margin-left: auto; margin-right: auto;\" "
    "src=\"data/testPlot.bmp\" alt=\"testPlot\" width=\"800\" height=\"400\" /></span></p>";

void footerBlock(std::vector<std::string>& l) {
    l.push_back("<hr />");
    l.push_back(kFooter);
}

// The look of the page's chart as the pictures show it: the time axis always reads
// "dd.mm.yy hh:mm", whatever format the page's chart uses.
ReportChart pictureLook(const ReportChart& source) {
    ReportChart c = source;
    c.dateTimeFormat = "dd.mm.yy hh:mm";
    return c;
}

// The look of the training chart with the series of another chart.
ReportChart withSeriesOf(const ReportChart& look, const ReportChart& seriesSource) {
    ReportChart c = pictureLook(look);
    c.series = seriesSource.series;
    return c;
}

// Steps after the page: "data", the pictures, the logo.
bool writeData(ReportResult& result, const fs::path& folder, const std::vector<std::pair<const ReportChart*, const char*>>& pictures,
               ReportRenderer& renderer, Reporter& reporter) {
    const fs::path data = folder / "data";
    std::error_code ec;
    fs::create_directory(data, ec);
    if (!fs::is_directory(data, ec)) {
        reporter.error("Не удалось создать папку отчета: " + pathText(data));
        return false;
    }
    for (const auto& [chart, name] : pictures) {
        const fs::path file = data / name;
        if (!renderer.renderChart(*chart, pathText(file), kReportPictureWidth, kReportPictureHeight)) {
            reporter.error("Не удалось записать файл: " + pathText(file));
            return false;
        }
    }
    const fs::path logo = data / "logo.bmp";
    if (!renderer.saveLogo(pathText(logo))) {
        reporter.error("Не удалось записать файл: " + pathText(logo));
        return false;
    }
    result.ok = true;
    return true;
}

// Creates the report folder and names the page in it, the folder and page going into
// result: the page is named after the chosen file unless pageStem is given.
std::optional<fs::path> startReport(const std::string& path, const std::string* pageStem, ReportResult& result,
                                    Reporter& reporter) {
    fs::path folder;
    std::string fileName;
    if (!createReportFolder(path, folder, fileName, reporter)) return std::nullopt;
    result.folder = pathText(folder);
    fs::path page = folder / ((pageStem ? *pageStem : fileName) + ".html");
    result.page = pathText(page);
    return page;
}

// The closing part of a report with one chart (the model output and its calculated value):
// the chart, the footer, the page and its data.
void finishOneChartReport(std::vector<std::string>& l, const fs::path& page, const ReportChart& chart,
                          ReportResult& result, ReportRenderer& renderer, Reporter& reporter) {
    l.push_back("<h3><span style=\"color: #000080;\">Графики выходного параметра и расчетного значения по модели</span></h3>");
    l.push_back(kTrainingPicture);
    footerBlock(l);
    if (!writePage(page, l, reporter)) return;
    const ReportChart picture = pictureLook(chart);
    writeData(result, page.parent_path(), {{&picture, "educationPlot.bmp"}}, renderer, reporter);
}

}  // namespace

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += ch;
        }
    }
    return out;
}

const std::array<std::string, 9>& staticReportLabels() {
    static const std::array<std::string, 9> labels = {
        "Коэффициент детерминации",
        "Коэффициент детерминации нормированный",
        "Среднее значение (выходной ряд)",
        "Среднее значение (модель)",
        "СКО(выходной ряд)",
        "СКО(модель)",
        "Метрика Index",
        "СКО модели от выходного ряда",
        "Средняя абсолютная ошибка",
    };
    return labels;
}

const std::array<std::string, 5>& dynamicReportLabels() {
    static const std::array<std::string, 5> labels = {
        "Коэффициент детерминации",
        "Коэффициент детерминации нормированный",
        "СКО ошибки",
        "Средняя абсолютная ошибка",
        "Максимальная абсолютная ошибка",
    };
    return labels;
}

ReportResult writeStaticModelReport(const std::string& path, const std::string& modelName,
                                    const std::string& structure, const std::string& modelText,
                                    const ReportValues& trainValues, const ReportValues& testValues,
                                    const ReportChart& trainChart, const ReportChart& testChart,
                                    ReportRenderer& renderer, Reporter& reporter) {
    ReportResult result;
    const auto page = startReport(path, nullptr, result, reporter);
    if (!page) return result;

    std::vector<std::string> l;
    headBlock(l, "Отчет по идентификации статики (Регрессионная модель)", modelName);
    textTableBlock(l, "Структура модели", structure);
    modelTextBlock(l, modelText);
    comparisonBlock(l, "<table style=\"display: inline-block; height: 263px; width: 570px;\" border=\"1\" width=\"286\">",
                    staticReportLabels(), trainValues.data(), testValues.data());
    l.push_back("<h3><span style=\"color: #000080;\">Графики по обучающей выборке</span></h3>");
    l.push_back(kTrainingPicture);
    l.push_back("<h3><span style=\"color: #000080;\">Графики по тестовой выборке</span></h3>");
    l.push_back(kTestPicture);
    footerBlock(l);
    if (!writePage(*page, l, reporter)) return result;

    const ReportChart train = pictureLook(trainChart);
    const ReportChart test = withSeriesOf(trainChart, testChart);
    writeData(result, page->parent_path(), {{&train, "educationPlot.bmp"}, {&test, "testPlot.bmp"}}, renderer, reporter);
    return result;
}

ReportResult writeRegularizedModelReport(const std::string& path, const std::string& modelName,
                                         const std::string& structure, const std::string& modelText,
                                         const ReportValues& values, const ReportChart& chart,
                                         ReportRenderer& renderer, Reporter& reporter) {
    ReportResult result;
    const std::string pageStem = safeFileName(modelName);
    const auto page = startReport(path, &pageStem, result, reporter);
    if (!page) return result;

    std::vector<std::string> l;
    headBlock(l, "Отчет по идентификации статики (Регуляризованная регрессия)", modelName);
    textTableBlock(l, "Структура модели", structure);
    modelTextBlock(l, modelText);
    comparisonBlock(l, "<table style=\"display: inline-block; height: 263px; width: 450px;\" border=\"1\" width=\"286\">",
                    staticReportLabels(), values.data(), nullptr);
    finishOneChartReport(l, *page, chart, result, renderer, reporter);
    return result;
}

ReportResult writeDynamicModelReport(const std::string& path, const std::string& modelName, int xpower,
                                     int ypower, double timeDiscretization, double tau,
                                     const std::string& diffEquation, const std::string& numerator,
                                     const std::string& denominator, const DynamicReportValues& values,
                                     const ReportChart& chart, ReportRenderer& renderer, Reporter& reporter) {
    ReportResult result;
    const auto page = startReport(path, nullptr, result, reporter);
    if (!page) return result;

    std::vector<std::string> l;
    headBlock(l, "Отчет по идентификации динамики", modelName);
    parametersBlock(l, xpower, ypower, timeDiscretization, tau);
    textTableBlock(l, "Разностное уравнение модели", diffEquation);
    transferFunctionBlock(l, numerator, denominator);
    comparisonBlock(l, "<table style=\"display: inline-block; height: 163px; width: 450px;\" border=\"1\" width=\"286\">",
                    dynamicReportLabels(), values.data(), nullptr);
    finishOneChartReport(l, *page, chart, result, renderer, reporter);
    return result;
}
