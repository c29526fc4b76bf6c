// The main window's frame: pages, navigation, workspace panel, menus, about box, the busy
// frame around worker threads and the close rules while a worker runs.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>

#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/SeriesDrag.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm2.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/mainwindow/Workers.h"

namespace {

struct Frame : ::testing::Test {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    QStringList handlers;
    Frame() {
        QObject::connect(&form, &TForm1::pageHandlerRan, [this](const QString& h) { handlers << h; });
    }
    void clickNode(int node) {
        QTreeWidget* nav = form.findChild<QTreeWidget*>("TreeView2");
        nav->setCurrentItem(form.navigationNode(node));
        form.TreeView2Click();
    }
};

TEST_F(Frame, StartsOnTheStartPageWithTheProductLineAndCollapsedPanel) {
    EXPECT_EQ(form.windowTitle(), QString("Tarvolyn"));
    EXPECT_EQ(form.pages()->currentIndex(), 7);
    EXPECT_EQ(form.page(7)->objectName(), QString("FirstSheet"));
    auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->toPlainText().split('\n').first(),
              QString("Пакет подготовки, статистической обработки и идентификации временных рядов Tarvolyn."));
    EXPECT_EQ(memo->font().pixelSize(), 21);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_FALSE(form.workspaceExpanded());
    EXPECT_EQ(form.findChild<QWidget*>("GroupBox21")->width(), 16 + 10);
    auto* ws = form.findChild<QTabWidget*>("PageControl6");
    EXPECT_EQ(ws->currentWidget()->objectName(), QString("TabSheet20"));
    EXPECT_TRUE(handlers.isEmpty());
}

// A page that counts its show and hide calls.
struct CountingPage : MainPage {
    using MainPage::MainPage;
    int shown = 0, hidden = 0, cleared = 0;
    void pageShown() override { ++shown; }
    void pageHidden() override { ++hidden; }
    void clearPage() override { ++cleared; }
};

TEST_F(Frame, ReplacedPagesGetTheirEventsAndKeepTheFragmentChart) {
    auto* fragments = new CountingPage("TabSheet4", "Выбор фрагментов");
    QWidget* chartBox = form.findChild<QWidget*>("GroupBox2");
    ASSERT_TRUE(chartBox);
    form.setPage(4, fragments);
    EXPECT_EQ(form.page(4), fragments);
    EXPECT_TRUE(fragments->isAncestorOf(chartBox));
    EXPECT_TRUE(fragments->isAncestorOf(form.findChild<QWidget*>("fragmentsChart")));
    EXPECT_EQ(form.pages()->count(), 10);
    clickNode(7);
    clickNode(11);
    clickNode(7);
    EXPECT_EQ(fragments->shown, 2);
    EXPECT_EQ(fragments->hidden, 1);
    form.clear();
    EXPECT_EQ(fragments->cleared, 1);
}

TEST_F(Frame, NavigationNodesShowTheirPagesAndGroupsChangeNothing) {
    struct Case {
        int node;
        const char* caption;
        int page;  // -1: the page stays
    };
    const Case cases[] = {{1, "Загрузка", 0},          {2, "Загрузка/преобразование", 1},
                          {0, "Данные", -1},           {4, "Статистики", 2},
                          {3, "Подготовка данных", -1}, {5, "Корреляция", 3},
                          {6, "Фрагментирование/анализ", -1}, {7, "Фрагменты", 4},
                          {8, "Статистики", 5},        {9, "Идентификация", -1},
                          {11, "Регрессия", 6},        {10, "Модели статики", -1},
                          {12, "Регуляризованная регрессия", 8}, {13, "Модели динамики", 9}};
    for (const Case& c : cases) {
        const int before = form.activePage();
        EXPECT_EQ(form.navigationNode(c.node)->text(0), QString(c.caption));
        clickNode(c.node);
        EXPECT_EQ(form.activePage(), c.page < 0 ? before : c.page) << c.node;
        EXPECT_EQ(form.pages()->currentIndex(), form.activePage());
    }
}

TEST_F(Frame, TheHighlightedNodeFollowsThePageShown) {
    QTreeWidget* nav = form.findChild<QTreeWidget*>("TreeView2");
    auto highlighted = [nav] {
        const QList<QTreeWidgetItem*> s = nav->selectedItems();
        return s.isEmpty() ? -1 : s[0]->data(0, Qt::UserRole).toInt();
    };
    EXPECT_EQ(highlighted(), -1);
    clickNode(11);
    EXPECT_EQ(highlighted(), 11);
    clickNode(9);  // a group: the page and its node stay
    EXPECT_EQ(highlighted(), 11);
    form.setActivePage(0);  // as the data page does after opening a workbook
    EXPECT_EQ(highlighted(), 1);
    form.N2Click();  // back to the start page, which has no node
    EXPECT_EQ(highlighted(), -1);
    EXPECT_EQ(form.activePage(), 7);
}

TEST_F(Frame, PageHandlersRunOncePerSwitchHideBeforeShow) {
    struct Case {
        int node;
        QStringList expected;
    };
    const Case cases[] = {
        {7, {}},                                        // start -> fragments
        {11, {"TabSheet4Hide", "TabSheet5Show"}},       // fragments -> regression
        {11, {}},                                       // same page again
        {2, {"TabSheet7Show"}},                         // regression -> filter
        {5, {"TabSheet6Show"}},                         // filter -> correlation
        {7, {}},                                        // correlation -> fragments
        {8, {"TabSheet4Hide", "TabSheet2Show"}},        // fragments -> per-interval statistics
        {12, {"TabSheet14Show"}},
        {13, {"TabSheet17Show"}},
        {9, {}},                                        // group node
    };
    for (const Case& c : cases) {
        handlers.clear();
        clickNode(c.node);
        EXPECT_EQ(handlers, c.expected) << c.node;
    }
    // Minimising and restoring shows the window again but runs no page handler.
    handlers.clear();
    form.show();
    form.hide();
    form.show();
    EXPECT_TRUE(handlers.isEmpty());
}

TEST_F(Frame, WorkspacePanelTogglesBetweenIconWidthAndItsFirstWidth) {
    auto* panel = form.findChild<QWidget*>("GroupBox21");
    form.resize(1200, 700);
    form.show();
    form.Image1Click();
    EXPECT_TRUE(form.workspaceExpanded());
    EXPECT_NEAR(panel->width(), 200, 12);
    auto* label = form.findChild<QLabel*>("Label15");
    EXPECT_EQ(label->text(), QString("Рабочая область"));
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_FALSE(form.workspaceExpanded());
    EXPECT_FALSE(label->isVisible());
    QTest::mouseClick(panel->findChild<QLabel*>("Image1"), Qt::LeftButton);
    EXPECT_TRUE(form.workspaceExpanded());
    EXPECT_TRUE(label->isVisible());
    form.Image1Click();
    EXPECT_EQ(panel->width(), 26);

    // The bar between pages and panel: disabled while collapsed; a drag to the left
    // widens the open panel when the drag ends, and the next opening keeps that width.
    auto* bar = form.findChild<QWidget*>("Splitter5");
    EXPECT_FALSE(bar->isEnabled());
    form.Image1Click();
    EXPECT_TRUE(bar->isEnabled());
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2 - 80, 50));
    EXPECT_EQ(panel->width(), 280);
    form.Image1Click();
    form.Image1Click();
    EXPECT_EQ(panel->width(), 280);
}

TEST_F(Frame, MenusCarryTheirCaptions) {
    struct Case {
        const char* name;
        const char* caption;
    };
    const Case cases[] = {{"N2", "Новый"},         {"N3", "Загрузить"},
                          {"N5", "Сохранить"},     {"N25", "Сохранить как"},
                          {"N4", "Экпортировать полученные ряды"},
                          {"N27", "Синхронизация"}, {"N6", "О программме"},
                          {"N26", "Скопировать в буфер"}, {"N19", "Открыть"}};
    for (const Case& c : cases) {
        auto* a = form.findChild<QAction*>(c.name);
        ASSERT_TRUE(a) << c.name;
        EXPECT_EQ(a->text(), QString(c.caption)) << c.name;
    }
    EXPECT_EQ(form.findChild<QMenu*>("N1")->title(), QString("Файл"));
    EXPECT_EQ(form.findChild<QMenu*>("N7")->title(), QString("Параметры"));
    // "Открыть" is the static-model tree's item.
    EXPECT_TRUE(form.staticModelMenu()->actions().contains(form.findChild<QAction*>("N19")));
}

TEST_F(Frame, ACommandThatThrowsIsToldAndTheProgramGoesOn) {
    form.runCommand([] { throw std::runtime_error("сбой"); });
    form.runCommand([] { throw std::bad_alloc(); });
    form.runCommand([] {});
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Операция не выполнена: сбой", "Операция не выполнена: недостаточно памяти"}));
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(Frame, AboutBoxShowsTheVersionAndCloses) {
    form.findChild<QAction*>("N6")->trigger();
    TForm2* about = form.aboutWindow();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), QString("О программе"));
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text(), QString("Версия: 1.01.20511"));
    EXPECT_EQ(about->findChild<QLabel*>("Label2")->text(), QString("Tarvolyn ®"));
    EXPECT_EQ(about->findChild<QLabel*>("Label6")->text(), QString("Контактные данные: "));
    EXPECT_FALSE(about->findChild<QLabel*>("Image2")->pixmap().isNull());
    QTest::mouseClick(about->findChild<QWidget*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(Frame, WorkerFrameEndsAlsoWhenTheWorkThrows) {
    form.show();
    struct Case {
        bool throws;
        bool ok;
    };
    for (const Case c : {Case{false, true}, Case{true, false}}) {
        prompter.record.clear();
        TloadThread t;
        std::atomic<bool> disabledDuring{false};
        std::atomic<bool> busyDuring{false};
        std::string seen;
        t.name = "C:/x/p.prj";
        t.FOnExecute = [&](const std::string& s) {
            seen = s;
            QThread::msleep(50);
            if (c.throws) throw std::runtime_error("диск недоступен");
        };
        // The GUI thread answers while waiting: probe the frame from its event loop.
        QTimer::singleShot(0, [&] {
            disabledDuring = !form.isEnabled();
            busyDuring = form.busyWindow()->isVisible();
        });
        EXPECT_EQ(form.runWorker(t), c.ok);
        EXPECT_EQ(seen, "C:/x/p.prj");
        EXPECT_TRUE(disabledDuring);
        EXPECT_TRUE(busyDuring);
        EXPECT_TRUE(form.isEnabled());
        EXPECT_FALSE(form.busyWindow()->isVisible());
        EXPECT_FALSE(form.busyWindow()->animating());
        EXPECT_FALSE(form.workerRunning());
        if (c.throws) {
            ASSERT_EQ(prompter.record.entries.size(), 1u);
            EXPECT_EQ(prompter.record.entries[0].kind, RecordingReporter::Kind::Error);
            EXPECT_EQ(prompter.record.entries[0].text, "Операция не выполнена: диск недоступен");
        } else {
            EXPECT_TRUE(prompter.record.entries.empty());
        }
    }
}

TEST(Workers, ProcedureThreadCallsItsPartsInOrderAndKeepsTheResult) {
    TJustProcedureThread t;
    std::vector<std::string> calls;
    t.way = "/tmp/a.prj";
    t.FOnExecuteProcedure2 = [&](const std::string& w) { calls.push_back("proc2:" + w); };
    t.FOnExecuteFunction = [&] {
        calls.push_back("func");
        return true;
    };
    t.FOnExecuteProcedure = [&] { calls.push_back("proc"); };
    QWidget w;
    TForm3 busy;
    EXPECT_TRUE(runInBusyFrame(&w, &busy, t));
    EXPECT_EQ(calls, (std::vector<std::string>{"proc", "func", "proc2:/tmp/a.prj"}));
    EXPECT_TRUE(t.functionResult);
    // Unassigned parts are skipped.
    TJustProcedureThread empty;
    EXPECT_TRUE(runInBusyFrame(&w, &busy, empty));
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(Frame, CloseIsRefusedWhileAWorkerRuns) {
    form.show();
    std::atomic<bool> release{false};
    TloadThread t;
    t.FOnExecute = [&](const std::string&) {
        while (!release) QThread::msleep(2);
    };
    bool closedDuring = true;
    QTimer::singleShot(10, [&] {
        closedDuring = form.close();
        release = true;
    });
    EXPECT_TRUE(form.runWorker(t));
    EXPECT_FALSE(closedDuring);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.close());
}

// Drags from the series tree round-trip in the tree's tests; here the damaged ones.
TEST(SeriesDragTest, RefusesOtherAndDamagedDrags) {
    QMimeData text;
    text.setText("ряд");
    EXPECT_FALSE(isSeriesDrag(&text));
    QMimeData broken;
    broken.setData(kSeriesMimeType, QByteArray("\x01", 1));
    EXPECT_FALSE(decodeSeriesDrag(&broken));
    EXPECT_FALSE(decodeSeriesDrag(nullptr));
}

TEST(PrompterTest, FileFilterBecomesQtFilter) {
    EXPECT_EQ(qtFileFilter("Проект|*.prj|Все файлы|*.*"), QString("Проект (*.prj);;Все файлы (*.*)"));
    EXPECT_EQ(qtFileFilter(""), QString());
}

}  // namespace
