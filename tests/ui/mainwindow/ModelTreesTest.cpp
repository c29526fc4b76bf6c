// The model trees' menus: viewers with their own copies, export to a model file with the
// kind's extension, and deletion with its questions.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/ModelFiles.h"
#include "support/Files.h"
#include "ui/PageTestSupport.h"
#include "ui/mainwindow/ModelTrees.h"
#include "ui/mainwindow/TForm19.h"
#include "ui/mainwindow/TForm20.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/TransferFunctionFormula.h"

namespace {

TStaticModel staticModel(const std::string& name) {
    TStaticModel m;
    m.name = name;
    m.numOfX = 2;
    m.n = 3;
    m.A = {0, 2.5L, -0.5L};
    m.c = 10;
    m.inputName = {"T", "P"};
    m.outputName = "Q";
    m.R2 = 0.75;
    m.R2norm = 0.5;
    return m;
}

struct ModelTreesFixture : PageFixture {
    ModelTrees& trees = *form.modelTrees();
    void select(WorkspaceTree* tree, int row) {
        tree->clearSelection();
        tree->topLevelItem(row)->setSelected(true);
        tree->setCurrentItem(tree->topLevelItem(row), 0, QItemSelectionModel::NoUpdate);
    }
};

TEST_F(ModelTreesFixture, MenusNeedASelectedModelExceptDeleteAll) {
    form.project().addStaticModel(staticModel("M"), true);
    trees.PopupMenuStatModelPopup();
    const QList<QAction*> items = form.staticModelMenu()->actions();
    ASSERT_EQ(items.size(), 4);
    const char* captions[] = {"Открыть", "Экспорт модели", "Удалить модель", "Удалить все модели"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->text(), QString(captions[i]));
        EXPECT_EQ(items[i]->isEnabled(), i == 3) << i;
    }
    select(form.staticModelTree(), 0);
    trees.PopupMenuStatModelPopup();
    EXPECT_TRUE(items[0]->isEnabled());
}

TEST_F(ModelTreesFixture, ViewersShowTheirOwnCopies) {
    form.project().addStaticModel(staticModel("M"), true);
    select(form.staticModelTree(), 0);
    TForm19* inside = trees.N19Click();
    TForm19* own = trees.TreeView3DblClick();
    ASSERT_TRUE(inside && own);
    EXPECT_EQ(inside->windowTitle(), QString("Просмотр модели"));
    EXPECT_EQ(inside->Label1->text(), QString("M"));
    EXPECT_EQ(inside->ListBox2->item(0)->text(), QString("Q"));
    ASSERT_EQ(inside->ListBox1->count(), 2);
    EXPECT_EQ(inside->ListBox1->item(1)->text(), QString("P"));
    EXPECT_EQ(inside->StringGrid1->cell(0, 1), "R2(нормированный)");
    EXPECT_EQ(inside->StringGrid1->cell(1, 0), "0,75");
    // The equation is shown from its beginning, as on the regression page.
    EXPECT_EQ(inside->Edit1->cursorPosition(), 0);
    EXPECT_EQ(own->Edit1->cursorPosition(), 0);
    const std::string equation = inside->Edit1->text().toStdString();
    // Deleting the model leaves both viewers as they were.
    form.project().deleteAllStaticModel();
    EXPECT_EQ(own->Edit1->text().toStdString(), equation);
    EXPECT_EQ(own->StringGrid1->cell(1, 1), "0,5");
    inside->close();
    own->close();
}

TEST_F(ModelTreesFixture, DynamicViewerListsCoefficientsFromTheHighestOrder) {
    TDynamicModel m;
    m.name = "D";
    m.num = {4};
    m.denum = {1};
    m.k = 4;
    m.tau = 3;
    m.timeDiscretization = 1;
    m.inputName = "u";
    m.outputName = "y";
    form.project().addDynamicModel(m, true);
    select(form.dynamicModelTree(), 0);
    TForm20* v = trees.N24Click();
    ASSERT_TRUE(v);
    EXPECT_EQ(v->StringGrid1->cell(1, 4), "4 ");
    EXPECT_EQ(v->StringGrid1->cell(1, 5), "1 ");
    EXPECT_EQ(v->StringGrid1->cell(0, 6), "Запаздывание(мин)");
    EXPECT_EQ(v->Panel1->Label29->text(), QString("-(3)*s"));
    EXPECT_EQ(coefficientsText({1, 2, 3}, 2), "3 2 1 ");
    EXPECT_EQ(v->Edit1->cursorPosition(), 0);
    v->close();
}

// Models with a name of 200 characters, shown in the main window with its model trees open.
struct ViewerPlacement : ModelTreesFixture {
    const std::string longName = [] {
        std::string n;
        for (int i = 0; i < 20; ++i) n += "Давление" + std::to_string(i % 10) + "_";  // 10 characters each
        return n;
    }();
    ViewerPlacement() {
        form.project().addStaticModel(staticModel(longName), true);
        TDynamicModel d;
        d.name = longName;
        d.num = {4};
        d.denum = {1};
        form.project().addDynamicModel(d, true);
        form.resize(1200, 800);
        form.show();
        form.expandWorkspace();
    }
    // A double click on the first node of a model tree, as the user gives it.
    void doubleClick(WorkspaceTree* tree) {
        auto* tabs = form.findChild<QTabWidget*>("PageControl6");
        tabs->setCurrentWidget(tree->parentWidget());
        QApplication::processEvents();
        const QPoint at = tree->visualItemRect(tree->topLevelItem(0)).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    }
    template <class Viewer>
    Viewer* onlyViewer() {
        const QList<Viewer*> all = form.findChildren<Viewer*>();
        EXPECT_EQ(all.size(), 1);
        return all.isEmpty() ? nullptr : all.front();
    }
};

TEST_F(ViewerPlacement, OpenSitsInTheClientAreaADoubleClickGivesAWindowOfItsOwn) {
    QWidget* client = form.centralWidget();
    const auto check = [&](ModelViewerWindow* v, bool inside, const char* kind) {
        ASSERT_TRUE(v) << kind;
        QWidget* frame = v->frame();
        EXPECT_TRUE(frame->isVisible()) << kind;
        EXPECT_EQ(frame->windowTitle(), QString("Просмотр модели")) << kind;
        if (inside) {
            // A sub-window of the main window, over its client area and centred on it.
            EXPECT_FALSE(frame->isWindow()) << kind;
            EXPECT_EQ(frame->parentWidget(), client) << kind;
            EXPECT_TRUE(client->rect().contains(frame->geometry())) << kind;
            EXPECT_LE((frame->geometry().center() - client->rect().center()).manhattanLength(), 2) << kind;
        } else {
            EXPECT_TRUE(v->isWindow()) << kind;
            EXPECT_EQ(frame, v) << kind;
        }
        // The user closes it: the viewer and its frame go.
        QPointer<ModelViewerWindow> gone(v);
        QPointer<QWidget> frameGone(frame);
        frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(gone.isNull()) << kind;
        EXPECT_TRUE(frameGone.isNull()) << kind;
    };
    select(form.staticModelTree(), 0);
    form.staticModelMenu()->actions()[0]->trigger();  // "Открыть"
    check(onlyViewer<TForm19>(), true, "static, Открыть");
    select(form.dynamicModelTree(), 0);
    form.dynamicModelMenu()->actions()[0]->trigger();
    check(onlyViewer<TForm20>(), true, "dynamic, Открыть");
    doubleClick(form.staticModelTree());
    check(onlyViewer<TForm19>(), false, "static, double click");
    doubleClick(form.dynamicModelTree());
    check(onlyViewer<TForm20>(), false, "dynamic, double click");
}

TEST_F(ViewerPlacement, ALongNameIsCutAndTheViewerNarrowsToANormalWidth) {
    const QString name = QString::fromStdString(longName);
    ASSERT_EQ(name.size(), 200);
    select(form.staticModelTree(), 0);
    select(form.dynamicModelTree(), 0);
    ModelViewerWindow* viewers[] = {trees.N19Click(), trees.TreeView3DblClick(), trees.N24Click(),
                                    trees.TreeView4DblClick()};
    for (ModelViewerWindow* v : viewers) {
        ASSERT_TRUE(v);
        QWidget* frame = v->frame();
        EXPECT_LE(frame->width(), 420);
        frame->resize(380, frame->height());
        EXPECT_EQ(frame->width(), 380);
        EXPECT_EQ(v->Label1->toolTip(), name);
        EXPECT_TRUE(v->Label1->text().endsWith(QString("…"))) << v->Label1->text().toStdString();
        EXPECT_TRUE(name.startsWith(v->Label1->text().chopped(1)));
        frame->close();
    }
}

TEST_F(ModelTreesFixture, ExportWritesTheProjectLayoutUnderTheKindsExtension) {
    QTemporaryDir dir;
    form.project().addStaticModel(staticModel("M"), true);
    select(form.staticModelTree(), 0);
    for (const char* chosen : {"model.txt", "model.SM", "model"}) {
        prompter.saveAnswers.push_back(dir.filePath(chosen).toStdString());
        trees.N29Click();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"model.sm"});
    EXPECT_EQ(prompter.lastSaveText.fileName, "M");
    EXPECT_EQ(readBytes(dir.filePath("model.sm").toStdString()), staticModelText(*form.project().statModels[0]));
    // A file that cannot be written is told, with its path.
    prompter.record.clear();
    prompter.saveAnswers.push_back(dir.filePath("missing/model.sm").toStdString());
    trees.N29Click();
    ASSERT_EQ(prompter.record.entries.size(), 1u);
    EXPECT_NE(prompter.record.entries[0].text.find("missing"), std::string::npos);
    EXPECT_EQ(withModelExtension("a.b/m.DM", ".dm"), "a.b/m.dm");
    EXPECT_EQ(withModelExtension("a.b/m", ".dm"), "a.b/m.dm");
}

TEST_F(ModelTreesFixture, ExportAsksAboutTheFileItWritesAndReplacesNoOther) {
    QTemporaryDir dir;
    form.project().addStaticModel(staticModel("M"), true);
    TDynamicModel d;
    d.name = "D";
    d.num = {4};
    d.denum = {1};
    form.project().addDynamicModel(d, true);
    const struct {
        WorkspaceTree* tree;
        QAction* exportItem;  // "Экспорт модели"
        std::string extension;
        std::string written;
    } kinds[] = {
        {form.staticModelTree(), form.staticModelMenu()->actions()[1], ".sm",
         staticModelText(*form.project().statModels[0])},
        {form.dynamicModelTree(), form.dynamicModelMenu()->actions()[1], ".dm",
         dynamicModelText(*form.project().dynModels[0])},
    };
    const auto path = [&dir](const std::string& name) { return dir.filePath(QString::fromStdString(name)).toStdString(); };
    writeBytes(path("model.txt"), "typed");
    for (const auto& k : kinds) {
        select(k.tree, 0);
        const std::string target = path("model" + k.extension);
        const std::string question = "Файл \"model" + k.extension + "\" уже существует. Заменить его?";
        writeBytes(target, "old");
        // "model" typed: the question names the file written; "no" leaves it as it was.
        prompter.record.clear();
        prompter.record.answers = {false};
        prompter.saveAnswers.push_back(path("model"));
        k.exportItem->trigger();
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{question}) << k.extension;
        EXPECT_EQ(readBytes(target), "old") << k.extension;
        // "model.txt" typed: the model goes to model.sm (.dm), and the question is about that
        // file; model.txt is neither asked about nor touched.
        prompter.record.clear();
        prompter.record.answers = {true};
        prompter.saveAnswers.push_back(path("model.txt"));
        k.exportItem->trigger();
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{question}) << k.extension;
        EXPECT_EQ(readBytes(target), k.written) << k.extension;
        EXPECT_EQ(readBytes(path("model.txt")), "typed") << k.extension;
        // A name that is only the extension keeps it: ".sm", not ".sm.sm"; nothing to ask.
        prompter.record.clear();
        prompter.saveAnswers.push_back(path(k.extension));
        k.exportItem->trigger();
        EXPECT_TRUE(prompter.record.entries.empty()) << k.extension;
        EXPECT_EQ(readBytes(path(k.extension)), k.written) << k.extension;
        EXPECT_FALSE(std::filesystem::exists(path(k.extension + k.extension))) << k.extension;
    }
}

TEST_F(ModelTreesFixture, DeletionAsksAndLooksTheModelUpAgain) {
    form.project().addStaticModel(staticModel("M1"), true);
    form.project().addStaticModel(staticModel("M2"), true);
    select(form.staticModelTree(), 1);
    prompter.record.answers = {false};
    trees.MenuItem2Click();
    EXPECT_EQ(prompter.record.entries.back().text, "Вы действительно хотите удалить модель: M2?");
    EXPECT_EQ(form.project().statModelCount(), 2);
    trees.MenuItem2Click();
    ASSERT_EQ(form.project().statModelCount(), 1);
    EXPECT_EQ(form.project().statModels[0]->name, "M1");
    trees.MenuItem3Click();
    EXPECT_EQ(prompter.record.entries.back().text, "Вы действительно хотите удалить все модели? ");
    EXPECT_EQ(form.project().statModelCount(), 0);
    // An empty tree asks nothing.
    const size_t asked = prompter.record.entries.size();
    trees.MenuItem3Click();
    trees.MenuItem4Click();
    EXPECT_EQ(prompter.record.entries.size(), asked);
}

}  // namespace
