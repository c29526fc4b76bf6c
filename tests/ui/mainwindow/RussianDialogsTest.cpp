// Russian whatever the environment, file dialogs that start at home and remember the folder
// of each kind, one icon rule for messages, and a busy window that needs no compositor.
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

#include "ui/mainwindow/MessageBoxReporter.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/pages/data/TimeAxisBox.h"

namespace {

TEST(RussianInterface, TheCalendarOfTheManualDateReadsInRussian) {
    TimeAxisBox box;
    box.DateTimePicker1->setDate(QDate(2026, 12, 1));
    QCalendarWidget* calendar = box.DateTimePicker1->calendarWidget();
    ASSERT_TRUE(calendar);
    auto* month = calendar->findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_TRUE(month);
    EXPECT_EQ(month->text().toStdString(), "декабрь");
    auto* days = calendar->findChild<QAbstractItemView*>("qt_calendar_calendarview");
    ASSERT_TRUE(days);
    EXPECT_EQ(days->model()->index(0, 0).data().toString().toStdString(), "пн");
}

// What a file dialog showed when it opened.
struct Shown {
    QString folder;
    QStringList labels;   // "look in", file name, file types, then the buttons
    QStringList folderRow, fileRow;  // name, size, type, date of the entries "папка" and "a.xlsx"
    bool asksBeforeReplacing = false;
};

QStringList rowTexts(const QAbstractItemModel* m, const QModelIndex& root, const QString& name) {
    for (int r = 0; r < m->rowCount(root); ++r) {
        if (m->index(r, 0, root).data().toString() != name) continue;
        QStringList t;
        for (int c = 0; c < 4; ++c) t << m->index(r, c, root).data().toString();
        return t;
    }
    return {};
}

// Runs `ask`, reads the file dialog it opens, then chooses `file` (cancels when empty). The
// list fills on a thread of its own: in `filled`, the test folder, it is waited for.
std::optional<std::string> answer(const std::function<std::optional<std::string>()>& ask, const QString& file,
                                  Shown& shown, const QString& filled = {}) {
    shown = Shown{};
    QTimer poll;
    int waited = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        auto* view = d->findChild<QTreeView*>("treeView");
        const QModelIndex root = view->rootIndex();
        shown.folder = d->directory().absolutePath();
        shown.folderRow = rowTexts(view->model(), root, "папка");
        shown.fileRow = rowTexts(view->model(), root, "a.xlsx");
        if (shown.folder == filled && (shown.fileRow.value(1).isEmpty() || shown.folderRow.isEmpty()) && ++waited < 500)
            return;
        poll.stop();
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            shown.labels << d->findChild<QLabel*>(name)->text();
        for (QPushButton* b : d->findChildren<QPushButton*>()) shown.labels << b->text();
        shown.asksBeforeReplacing = !d->testOption(QFileDialog::DontConfirmOverwrite);
        if (file.isEmpty()) {
            d->reject();
        } else {
            d->selectFile(file);
            static_cast<QDialog*>(d)->accept();  // the dialog's own checks run
        }
    });
    poll.start(10);
    return ask();
}

TEST(FileDialogs, SpeakRussianStartAtHomeAndRememberTheFolderOfEachKind) {
    forgetFileKindFolders();
    QTemporaryDir dir;
    const QString work = dir.path() + "/work";
    ASSERT_TRUE(QDir().mkpath(work + "/папка"));
    QFile file(work + "/a.xlsx");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2048, 'x'));
    file.close();
    DialogPrompter prompter;
    Shown shown;

    // A first workbook: the home folder, the labels, sizes, types and dates in Russian.
    auto chosen = answer([&] { return prompter.openFileName(FileKind::Workbook, ""); }, work + "/a.xlsx", shown);
    EXPECT_EQ(shown.folder, QDir::homePath());
    ASSERT_EQ(chosen, (work + "/a.xlsx").toStdString());
    chosen = answer([&] { return prompter.openFileName(FileKind::Workbook, ""); }, "", shown, work);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(shown.folder, work);
    EXPECT_EQ(shown.labels.join('|').toStdString(), "Перейти к:|&Имя файла:|Типы файлов:|&Открыть|Отмена");
    ASSERT_EQ(shown.fileRow.size(), 4);
    EXPECT_EQ(shown.fileRow[1].toStdString(), "2,0 кБ");
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$").match(shown.fileRow[3]).hasMatch())
        << qPrintable(shown.fileRow[3]);
    ASSERT_EQ(shown.folderRow.size(), 4);
    EXPECT_EQ(shown.folderRow[2].toStdString(), "Папка");

    // Another kind starts at home. No save dialog asks before "replacing" the name typed:
    // the saves ask about the file they write, which may carry another extension.
    answer([&] { return prompter.saveFileName(FileKind::Project, "Проект|*.prj"); }, "", shown);
    EXPECT_EQ(shown.folder, QDir::homePath());
    EXPECT_FALSE(shown.asksBeforeReplacing);
    EXPECT_TRUE(shown.labels.contains("&Сохранить"));
    for (FileKind kind : {FileKind::ModelExport, FileKind::Export}) {
        answer([&] { return prompter.saveFileName(kind, ""); }, "", shown);
        EXPECT_FALSE(shown.asksBeforeReplacing);
    }
    // A folder that has gone since is replaced by the home folder.
    ASSERT_TRUE(dir.remove());
    answer([&] { return prompter.openFileName(FileKind::Workbook, ""); }, "", shown);
    EXPECT_EQ(shown.folder, QDir::homePath());
}

TEST(MessageIcons, ErrorsAreCriticalWhicheverCallTellsThem) {
    using Kind = RecordingReporter::Kind;
    struct Case {
        Kind kind;
        const char* text;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {Kind::Message, "Ошибка открытия файла!", QMessageBox::Critical},
        {Kind::Message, "Загружены не все строки.Ошибка чтения даты!", QMessageBox::Critical},
        {Kind::Error, "Не удалось записать файл: a.html", QMessageBox::Critical},
        {Kind::Message, "Внимание! Функция преобразования не вычисляется для 3 точек.", QMessageBox::Warning},
        {Kind::Confirmation, "Вы действительно хотите удалить все ряды? ", QMessageBox::Warning},
        {Kind::Message, "Модель не построена. Расчет не проведен.", QMessageBox::Information},
        {Kind::Information, "Готово", QMessageBox::Information},
    };
    for (const Case& c : cases) EXPECT_EQ(messageIcon(c.kind, c.text), c.icon) << c.text;
}

TEST(BusyWindow, IsOpaqueSoItReadsTheSameWithoutACompositor) {
    TForm3 busy;
    EXPECT_FALSE(busy.testAttribute(Qt::WA_TranslucentBackground));
    const QImage picture = busy.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 3), QPoint(100, 100)}) EXPECT_EQ(qAlpha(picture.pixel(p)), 255);
    EXPECT_EQ(picture.pixelColor(3, 3), QColor(Qt::white));
}

}  // namespace
