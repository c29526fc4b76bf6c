#pragma once
// Shared by the page tests: a main window with scripted answers, series added to its
// project, drops of project series onto a control as a drag from the series tree delivers
// them, and the shift of a series through the series tree's pop-up.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "core/StatisticSeries.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/SeriesDrag.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm12.h"
#include "ui/mainwindow/WorkspaceTree.h"

// The texts of a tree's top-level nodes (the workspace trees list series and models so).
inline QStringList topLevelTexts(const QTreeWidget* tree) {
    QStringList t;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) t << tree->topLevelItem(i)->text(0);
    return t;
}

// Shows a window and makes it the active one, so that clicks move the focus as they do for
// a user. True once it is active.
inline bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != window; ++i) QTest::qWait(5);
    return QApplication::activeWindow() == window;
}

struct PageFixture : ::testing::Test {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};

    // Adds a series whose point i lies at start + i * step (days) with values[i]; returns
    // its index in the project.
    int addSeries(const std::string& title, const std::vector<double>& values, double start = 45000.0,
                  double step = 1.0 / 1440) {
        TStatisticSeries s;
        s.Title = title;
        for (size_t i = 0; i < values.size(); ++i) s.AddXY(start + static_cast<double>(i) * step, values[i]);
        form.project().addSeries(s, false, true);
        return form.project().seriesCount() - 1;
    }

    // Drops the project series `indices` (the first is the primary one) onto `target`.
    // True when the target accepted the drag.
    bool drop(QWidget* target, const std::vector<int>& indices) {
        SeriesDrag drag;
        for (int i : indices) drag.selected.push_back(form.seriesIdAt(i));
        if (!drag.selected.empty()) drag.primary = drag.selected.front();
        std::unique_ptr<QMimeData> mime(encodeSeriesDrag(drag));
        return deliver(target, mime.get());
    }

    // Delivers a drag-enter and, when accepted, a drop of `mime` at the target's centre.
    static bool deliver(QWidget* target, const QMimeData* mime) {
        QWidget* surface = target;
        if (auto* view = qobject_cast<QAbstractItemView*>(target)) surface = view->viewport();
        const QPoint at = surface->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropEvent(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &dropEvent);
        return dropEvent.isAccepted();
    }

    // "Выполнить сдвиг" as a user gives it: the series tree shown on its tab, a right click
    // on the node of project series `index`, the menu item, then in TForm12 the lag typed
    // over the "0", "Сохранить как новый ряд" clicked into the state `asNew` and "Ок".
    void shiftSeries(int index, const char* lag, bool asNew) {
        if (!form.isVisible()) {
            form.setWindowState(Qt::WindowNoState);
            form.resize(1200, 800);
            form.show();
        }
        form.expandWorkspace();
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl6"));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
        WorkspaceTree* tree = form.seriesTree();
        ASSERT_LT(index, tree->topLevelItemCount());
        form.TreeView1ContextPopup(tree, tree->visualItemRect(tree->topLevelItem(index)).center());
        form.seriesMenu()->hide();
        form.shiftDialog()->runModal = [lag, asNew](TForm12& d) {
            d.show();
            QTest::keyClick(d.Edit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d.Edit1, QString::fromUtf8(lag));
            if (d.CheckBox1->isChecked() != asNew)
                QTest::mouseClick(d.CheckBox1, Qt::LeftButton, {}, QPoint(8, d.CheckBox1->height() / 2));
            QTest::mouseClick(d.Button1, Qt::LeftButton);
            return d.result() == QDialog::Accepted;
        };
        form.findChild<QAction*>(QStringLiteral("N18"))->trigger();
    }

    template <class W>
    W* child(const char* name) {
        W* w = form.findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
};
