#pragma once
// Shared by the data page tests: the test workbooks and the times of quickload.xlsx, typing
// into the file-information grid, the quick-load window run by a script, and loaded points.
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/StatisticSeries.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TForm9.h"
#include "ui/widgets/EditingStringGrid.h"

const std::string kWorkbooks = std::string(TARVOLYN_TEST_DATA) + "/workbooks/";
// 1 February 2023 is day 44958 after 30 December 1899.
constexpr double kFeb1st = 44958.0;
constexpr double kMinute = 1.0 / 1440;
// The five rows of quickload.xlsx, a minute apart.
const std::vector<double> kTimes = {kFeb1st, kFeb1st + kMinute, kFeb1st + 2 * kMinute, kFeb1st + 3 * kMinute,
                                    kFeb1st + 4 * kMinute};

// Types into a cell of the file-information grid and presses Enter.
inline void typeInfo(DataPage& page, int row, const QString& text) {
    editingStringGrid* g = page.stringgridFileInfo;
    g->setCurrentCell(1, row);
    ASSERT_TRUE(g->isEditing());
    g->cellsEdit()->selectAll();
    g->cellsEdit()->insert(text);
    QTest::keyClick(g->cellsEdit(), Qt::Key_Return);
}

inline void tick(TForm9& form, const char* name) {
    const auto items = form.CheckListBox1->findItems(QString::fromUtf8(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    items[0]->setCheckState(Qt::Checked);
}

// The quick-load window shows and runs `script` instead of waiting for the user; no script
// cancels it.
inline void scriptForm9(DataPage& page, const std::function<void(TForm9&)>& script, int* shown = nullptr) {
    page.runForm9 = [&script, shown](TForm9& f) {
        if (shown) ++*shown;
        if (!script) return false;
        f.setResult(0);
        f.show();
        script(f);
        const bool ok = f.result() == QDialog::Accepted;
        f.hide();
        return ok;
    };
}

inline void expectPoints(const TStatisticSeries* s, const std::vector<double>& xs, const std::vector<double>& ys) {
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Count(), static_cast<int>(xs.size())) << s->Title;
    for (int i = 0; i < s->Count(); ++i) {
        EXPECT_NEAR(s->XValue(i), xs[static_cast<size_t>(i)], 1e-8) << s->Title << " " << i;
        EXPECT_NEAR(s->YValue(i), ys[static_cast<size_t>(i)], 1e-12) << s->Title << " " << i;
        EXPECT_FALSE(s->IsNull(i)) << s->Title << " " << i;
    }
}
