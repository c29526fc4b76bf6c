// The three HTML reports: folder naming, page names, the page byte for byte against
// expected pages written by hand, the order of work and the reporting of failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "exchange/HtmlReport.h"
#include "numerics/Reporter.h"
#include "core/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Records what it is asked to draw and writes a small file in its place; checks that the
// page is already on disk when the pictures are drawn.
class FakeRenderer : public ReportRenderer {
public:
    struct Call {
        std::string file;
        std::vector<std::string> titles;
        std::string format;
        int width, height;
        bool pageExisted;
    };
    std::vector<Call> calls;
    std::string page;
    std::string failOn;  // a file name part whose drawing fails

    bool renderChart(const ReportChart& chart, const std::string& fileName, int width, int height) override {
        std::vector<std::string> titles;
        for (const auto& s : chart.series) titles.push_back(s.Title);
        calls.push_back({fileName, titles, chart.dateTimeFormat, width, height, fs::exists(page)});
        return write(fileName, "BM");
    }
    bool saveLogo(const std::string& fileName) override {
        calls.push_back({fileName, {}, "", 0, 0, fs::exists(page)});
        return write(fileName, "\x89PNG");
    }

private:
    bool write(const std::string& fileName, const char* bytes) {
        if (!failOn.empty() && fileName.find(failOn) != std::string::npos) return false;
        std::ofstream(fileName, std::ios::binary) << bytes;
        return true;
    }
};

class HtmlReportTest : public ::testing::Test {
protected:
    TempDir temp;
    const fs::path dir{temp.path};

    static ReportChart chart(const std::string& a, const std::string& b, const std::string& format) {
        ReportChart c;
        c.dateTimeFormat = format;
        c.series.resize(2);
        c.series[0].Title = a;
        c.series[1].Title = b;
        c.series[0].AddXY(45000, 1);
        c.series[1].AddXY(45000, 2);
        return c;
    }

    ReportResult staticReport(const std::string& path, FakeRenderer& r, Reporter& rep) {
        ReportValues train, test;
        for (int i = 0; i < 10; ++i) {
            train[static_cast<size_t>(i)] = "t" + std::to_string(i + 1);
            test[static_cast<size_t>(i)] = "e" + std::to_string(i + 1);
        }
        test[8] = "";  // an empty text still gives its cell
        train[9] = "NEVER";
        test[9] = "NEVER";
        return writeStaticModelReport(path, "Расход \"пара\" & T<5>", "y=a0+a1*X1+a2*X2", "Y=1,5 + 2*X1 - 0,25*X2",
                                      train, test, chart("Выходной параметр", "Расчетное значение", "hh:mm:ss"),
                                      chart("Выходное параметры", "Расчетное значение (тест)", "hh:mm"), r, rep);
    }
};

TEST_F(HtmlReportTest, StaticReportFolderPageAndPictures) {
    FakeRenderer r;
    RecordingReporter rep;
    r.page = (dir / "report" / "report.html").string();
    const ReportResult res = staticReport((dir / "report").string(), r, rep);
    ASSERT_TRUE(res.ok) << (rep.entries.empty() ? "" : rep.entries[0].text);
    EXPECT_TRUE(rep.entries.empty());
    EXPECT_EQ(res.folder, (dir / "report").string());
    EXPECT_EQ(res.page, r.page);
    EXPECT_EQ(readBytes(r.page), expectedReportPage("static_report.html"));

    // Pictures after the page, in order, 800 x 400; the test picture keeps the training
    // chart's look with the test chart's series.
    ASSERT_EQ(r.calls.size(), 3u);
    const fs::path data = dir / "report" / "data";
    EXPECT_EQ(r.calls[0].file, (data / "educationPlot.bmp").string());
    EXPECT_EQ(r.calls[1].file, (data / "testPlot.bmp").string());
    EXPECT_EQ(r.calls[2].file, (data / "logo.bmp").string());
    for (const auto& c : r.calls) EXPECT_TRUE(c.pageExisted) << c.file;
    for (int i : {0, 1}) EXPECT_EQ(std::pair(r.calls[i].width, r.calls[i].height), std::pair(800, 400));
    EXPECT_EQ(r.calls[0].titles, (std::vector<std::string>{"Выходной параметр", "Расчетное значение"}));
    EXPECT_EQ(r.calls[1].titles, (std::vector<std::string>{"Выходное параметры", "Расчетное значение (тест)"}));
    // Both pictures read their time axis as "dd.mm.yy hh:mm", whatever the page's charts use.
    EXPECT_EQ(r.calls[0].format, "dd.mm.yy hh:mm");
    EXPECT_EQ(r.calls[1].format, "dd.mm.yy hh:mm");
    // Nothing else in the folder: no temporary file left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "report"), fs::directory_iterator()), 2);
}

TEST_F(HtmlReportTest, FolderNamesAreNumberedWhileTaken) {
    const char* expected[] = {"report", "report(1)", "report(2)"};
    for (const char* name : expected) {
        FakeRenderer r;
        RecordingReporter rep;
        const ReportResult res = staticReport((dir / "report").string(), r, rep);
        ASSERT_TRUE(res.ok);
        EXPECT_EQ(res.folder, (dir / name).string());
        EXPECT_EQ(res.page, (dir / name / "report.html").string());
        EXPECT_TRUE(fs::exists(dir / name / "data" / "testPlot.bmp"));
    }
}

TEST_F(HtmlReportTest, FolderDropsOnlyTheLastExtensionPageKeepsTheWholeName) {
    const struct {
        const char* chosen;
        const char* folder;
        const char* page;
    } cases[] = {
        {"report.txt", "report", "report.txt.html"},
        {"report.htm", "report", "report.htm.html"},
        {"a.b.c", "a.b", "a.b.c.html"},
        {".hidden", ".hidden", ".hidden.html"},
    };
    for (const auto& c : cases) {
        FakeRenderer r;
        RecordingReporter rep;
        fs::remove_all(dir / c.folder);
        const ReportResult res = staticReport((dir / c.chosen).string(), r, rep);
        ASSERT_TRUE(res.ok) << c.chosen;
        EXPECT_EQ(res.folder, (dir / c.folder).string()) << c.chosen;
        EXPECT_EQ(res.page, (dir / c.folder / c.page).string()) << c.chosen;
        EXPECT_TRUE(fs::exists(res.page)) << c.chosen;
    }
}

TEST_F(HtmlReportTest, DynamicReportByteForByte) {
    FakeRenderer r;
    RecordingReporter rep;
    const ReportResult res =
        writeDynamicModelReport((dir / "dyn.htm").string(), "X1-Y1", 2, 1, 1.0, 2.5, "y(k) = 0,5*y(k-1) + 0,25*x(k-1) < 1",
                                "0,5", "2*s + 1", {"0,9", "0,8", "0,7", "0,6", "0,5"},
                                chart("Выходное значение параметра", "Расчетное значение параметра", "hh:mm"), r, rep);
    ASSERT_TRUE(res.ok);
    EXPECT_EQ(res.page, (dir / "dyn" / "dyn.htm.html").string());
    EXPECT_EQ(readBytes(res.page), expectedReportPage("dynamic_report.html"));
    ASSERT_EQ(r.calls.size(), 2u);
    EXPECT_EQ(r.calls[0].file, (dir / "dyn" / "data" / "educationPlot.bmp").string());
    EXPECT_EQ(r.calls[0].format, "dd.mm.yy hh:mm");
    EXPECT_EQ(r.calls[1].file, (dir / "dyn" / "data" / "logo.bmp").string());
    EXPECT_FALSE(fs::exists(dir / "dyn" / "data" / "testPlot.bmp"));
}

// The page itself is compared whole by the regularised page's test.
TEST_F(HtmlReportTest, RegularizedReportPageIsNamedAfterTheModel) {
    const struct {
        const char* model;
        const char* page;
    } cases[] = {{"Y1", "Y1.html"}, {"a/b:c", "a_b_c.html"}, {"", "_.html"}};
    for (const auto& c : cases) {
        FakeRenderer r;
        RecordingReporter rep;
        fs::remove_all(dir / "summary");
        ReportValues v;
        v.fill("0,5");
        const ReportResult res = writeRegularizedModelReport((dir / "summary").string(), c.model, "y=a0+a1*X1", "Y=1",
                                                             v, chart("a", "b", "dd.mm.yy hh:mm"), r, rep);
        ASSERT_TRUE(res.ok) << c.model;
        EXPECT_EQ(res.page, (dir / "summary" / c.page).string());
        EXPECT_NE(readBytes(res.page).find(std::string("Модель: ") + c.model + "</span>"), std::string::npos);
        EXPECT_EQ(r.calls.size(), 2u);
    }
}

TEST_F(HtmlReportTest, FailuresAreReported) {
    {
        // The chosen directory does not exist: no folder, one clear message, no retries left behind.
        FakeRenderer r;
        RecordingReporter rep;
        const ReportResult res = staticReport((dir / "missing" / "report").string(), r, rep);
        EXPECT_FALSE(res.ok);
        ASSERT_EQ(rep.entries.size(), 1u);
        EXPECT_EQ(rep.entries[0].kind, RecordingReporter::Kind::Error);
        EXPECT_EQ(rep.entries[0].text, "Не удалось создать папку отчета: " + (dir / "missing" / "report").string());
        EXPECT_TRUE(r.calls.empty());
        EXPECT_FALSE(fs::exists(dir / "missing"));
    }
    {
        // A picture that cannot be written ends the report with a message; the page stays.
        FakeRenderer r;
        RecordingReporter rep;
        r.failOn = "testPlot";
        const ReportResult res = staticReport((dir / "r").string(), r, rep);
        EXPECT_FALSE(res.ok);
        ASSERT_EQ(rep.entries.size(), 1u);
        EXPECT_EQ(rep.entries[0].text, "Не удалось записать файл: " + (dir / "r" / "data" / "testPlot.bmp").string());
        EXPECT_TRUE(fs::exists(dir / "r" / "r.html"));
        EXPECT_FALSE(fs::exists(dir / "r" / "data" / "logo.bmp"));
    }
    {
        FakeRenderer r;
        RecordingReporter rep;
        const ReportResult res = staticReport(dir.string() + "/", r, rep);
        EXPECT_FALSE(res.ok);
        ASSERT_EQ(rep.entries.size(), 1u);
        EXPECT_EQ(rep.entries[0].text, "Не задано имя файла отчета!");
    }
}

}  // namespace
