#include "ui/widgets/TForm14.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

#include "numerics/Reporter.h"

namespace {

// Records like RecordingReporter and notes whether the pop-up held itself open meanwhile;
// `during` runs while the message is up (e.g. a click elsewhere).
class ProbeReporter : public RecordingReporter {
public:
    TForm14* form = nullptr;
    std::vector<bool> heldOpen;
    std::function<void()> during;
    void message(const std::string& t) override {
        note();
        RecordingReporter::message(t);
    }
    bool confirmation(const std::string& t) override {
        note();
        return RecordingReporter::confirmation(t);
    }

private:
    void note() {
        heldOpen.push_back(form->needOpen());
        if (during) during();
    }
};

struct PopupFixture : ::testing::Test {
    QWidget window;
    QWidget* group = nullptr;
    QPushButton* elsewhere = nullptr;
    TForm14* form = nullptr;
    ProbeReporter reporter;

    void SetUp() override {
        window.resize(600, 500);
        group = new QWidget(&window);
        group->setGeometry(0, 0, 600, 450);
        elsewhere = new QPushButton(QStringLiteral("x"), &window);
        elsewhere->setGeometry(0, 460, 80, 30);
        form = new TForm14(group);
        form->setReporter(&reporter);
        reporter.form = form;
    }
    template <class T>
    T* child(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* list() const { return child<QListWidget>("CheckListBox1"); }
    QLineEdit* edit() const { return child<QLineEdit>("Edit1"); }
    void add(int sign, const QString& value) {
        child<QComboBox>("ComboBox1")->setCurrentIndex(sign);
        edit()->setText(value);
        QTest::mouseClick(child<QToolButton>("SpeedButton1"), Qt::LeftButton);
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (int i = 0; i < list()->count(); ++i) t.push_back(list()->item(i)->text().toStdString());
        return t;
    }
    void showWindow() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        form->popupAt(group->mapToGlobal(QPoint(10, 20)));
    }
};

}  // namespace

TEST_F(PopupFixture, ControlsCarryTheirNamesAndTexts) {
    EXPECT_EQ(child<QGroupBox>("GroupBox1")->title(), "Добавить новый фильтр");
    EXPECT_EQ(child<QPushButton>("BitBtn2")->text(), "Сохранить");
    EXPECT_EQ(child<QAction>("N1")->text(), "Удалить фильтр");
    EXPECT_EQ(child<QAction>("N2")->text(), "Удалить все фильтры");
    auto* ops = child<QComboBox>("ComboBox1");
    EXPECT_FALSE(ops->isEditable());
    QStringList items;
    for (int i = 0; i < ops->count(); ++i) items << ops->itemText(i);
    EXPECT_EQ(items, (QStringList{"=", "<", ">", "≤", "≥", "≠"}));
    EXPECT_EQ(ops->currentIndex(), 0);
}

TEST_F(PopupFixture, AddShowsTheFilterTextOrRefusesABadNumber) {
    add(4, "0,5");
    add(0, "-2");
    EXPECT_EQ(texts(), (std::vector<std::string>{"≥ 0,5", "= -2"}));
    EXPECT_EQ(list()->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(form->numOfFilter(), 2);

    for (const char* bad : {"", "-", ",", "1-2", "1,2,3"}) {
        add(1, QString::fromUtf8(bad));
        EXPECT_EQ(form->numOfFilter(), 2) << bad;
    }
    ASSERT_EQ(reporter.entries.size(), 5u);
    for (const auto& e : reporter.entries) {
        EXPECT_EQ(e.kind, RecordingReporter::Kind::Message);
        EXPECT_EQ(e.text, "Введите правильное число!");
    }
    EXPECT_EQ(reporter.heldOpen, std::vector<bool>(5, true));
    EXPECT_FALSE(form->needOpen());
}

TEST_F(PopupFixture, DeleteOneAndAllAskFirst) {
    add(4, "0,5");
    add(1, "3");
    add(5, "1E10");
    EXPECT_EQ(texts()[2], "≠ 1E0010");

    // Nothing selected: nothing asked.
    list()->clearSelection();
    form->deleteSelected();
    EXPECT_TRUE(reporter.entries.empty());

    list()->setCurrentRow(1);
    reporter.answers = {false, true};
    form->deleteSelected();
    EXPECT_EQ(form->numOfFilter(), 3);
    form->deleteSelected();
    EXPECT_EQ(texts(), (std::vector<std::string>{"≥ 0,5", "≠ 1E0010"}));
    ASSERT_EQ(reporter.entries.size(), 2u);
    EXPECT_EQ(reporter.entries[0].kind, RecordingReporter::Kind::Confirmation);
    EXPECT_EQ(reporter.entries[0].text, "Вы действительно хотите фильтр: < 3?");
    EXPECT_EQ(reporter.entries[1].text, "Вы действительно хотите фильтр: < 3?");

    reporter.answers = {false, true};
    child<QAction>("N2")->trigger();
    EXPECT_EQ(form->numOfFilter(), 2);
    child<QAction>("N2")->trigger();
    EXPECT_EQ(form->numOfFilter(), 0);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(reporter.entries.back().text, "Вы действительно хотите удалить все фильтры?");
    EXPECT_EQ(reporter.heldOpen, std::vector<bool>(4, true));
    EXPECT_FALSE(form->needOpen());
}

// The keys themselves are the shared numeric filter's (its own test).
TEST_F(PopupFixture, TheValueFieldTakesNumbersOnlyAndEnterAdds) {
    QTest::keyClicks(edit(), "2a7,5.x");
    EXPECT_EQ(edit()->text(), "27,5");
    child<QComboBox>("ComboBox1")->setCurrentIndex(3);
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(texts(), (std::vector<std::string>{"≤ 27,5"}));
}

TEST_F(PopupFixture, SaveHandsTheListOverAndCloses) {
    auto kept = std::make_shared<TFilter>(2, 1, true);
    form->loadFilter({kept});
    QSignalSpy saved(form, &TForm14::saveRequested);
    showWindow();
    ASSERT_FALSE(form->isHidden());
    add(0, "4");
    QTest::mouseClick(child<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(form->isHidden());
    ASSERT_EQ(form->filters().size(), 2u);
    EXPECT_EQ(form->filters()[0], kept);  // the same object, not a copy
}

TEST_F(PopupFixture, OpensAtThePointerInsideItsParent) {
    showWindow();
    EXPECT_EQ(form->pos(), QPoint(10, 20));
    form->popupAt(group->mapToGlobal(QPoint(590, 440)));
    EXPECT_EQ(form->geometry().right(), group->width() - 1);
    EXPECT_EQ(form->geometry().bottom(), group->height() - 1);
}

TEST_F(PopupFixture, ClickElsewhereClosesButNotWhileItsOwnMessageIsUp) {
    showWindow();
    // A click inside does not close.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(form->isHidden());

    // A click elsewhere while the pop-up's own message is up keeps it open.
    reporter.during = [this] { QTest::mouseClick(elsewhere, Qt::LeftButton); };
    add(0, "abc");
    EXPECT_FALSE(form->isHidden());

    // After a cancelled deletion a click outside still closes it.
    reporter.during = nullptr;
    add(0, "1");
    list()->setCurrentRow(0);
    reporter.answers = {false};
    form->deleteSelected();
    EXPECT_FALSE(form->isHidden());
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    EXPECT_TRUE(form->isHidden());
}

TEST_F(PopupFixture, CloseButtonAndPictureClose) {
    showWindow();
    QTest::mouseClick(child<QToolButton>("SpeedButton2"), Qt::LeftButton);
    EXPECT_TRUE(form->isHidden());
    form->popupAt(group->mapToGlobal(QPoint(0, 0)));
    ASSERT_FALSE(form->isHidden());
    QTest::mouseClick(child<QLabel>("Image2"), Qt::LeftButton);
    EXPECT_TRUE(form->isHidden());
}

TEST_F(PopupFixture, StaysOpenWhileItsMenuIsUp) {
    showWindow();
    auto* menu = form->findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    menu->popup(form->mapToGlobal(QPoint(20, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    EXPECT_FALSE(form->isHidden());
    menu->hide();
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    EXPECT_TRUE(form->isHidden());
}
