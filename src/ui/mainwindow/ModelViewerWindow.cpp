#include "ui/mainwindow/ModelViewerWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets/EditingStringGrid.h"

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 440;
const char* const kCaption = "Просмотр модели";

// A name of any length: shown whole when it fits, else cut with "…"; it never makes the
// window wider than the user wants it.
class NameLabel : public QLabel {
public:
    NameLabel(const QString& name, QWidget* parent) : QLabel(name, parent), name_(name) {
        setToolTip(name);
        setAlignment(Qt::AlignCenter);
    }
    QSize sizeHint() const override {
        return {std::min(fontMetrics().horizontalAdvance(name_), kWidth), fontMetrics().height()};
    }
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(QStringLiteral("…")), fontMetrics().height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        setText(fontMetrics().elidedText(name_, Qt::ElideRight, width()));
    }

private:
    QString name_;
};

Qt::WindowFlags ownWindowFlags() {
    return Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

}  // namespace

ModelViewerWindow::ModelViewerWindow(QWidget* mainWindow, bool insideMainWindow, const QString& name)
    : QWidget(insideMainWindow ? nullptr : mainWindow, insideMainWindow ? Qt::Widget : ownWindowFlags()),
      mainWindow_(mainWindow),
      inside_(insideMainWindow && mainWindow) {
    setWindowTitle(QString::fromUtf8(kCaption));
    if (!inside_) setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    column_ = new QVBoxLayout(this);
    Label1 = new NameLabel(name, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont large = Label1->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    Label1->setFont(large);
    column_->addWidget(Label1);
}

QWidget* ModelViewerWindow::frame() {
    if (subWindow_) return subWindow_;
    return this;
}

void ModelViewerWindow::addLabelled(const char* labelName, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(labelName));
    column_->addWidget(label);
    column_->addWidget(control);
}

void ModelViewerWindow::addGrid(int rows) {
    StringGrid1 = new editingStringGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColCount(2);
    StringGrid1->setRowCount(rows);
    StringGrid1->setFixedRows(0);
    StringGrid1->setFixedCols(0);
    StringGrid1->setDefaultColWidth(170);
    column_->addWidget(StringGrid1, 1);
}

void ModelViewerWindow::showCentred() {
    if (!inside_) {
        resize(kWidth, kHeight);
        if (mainWindow_) move(mainWindow_->window()->geometry().center() - rect().center());
        show();
        return;
    }
    // The main window's client area: the pages and panels under its menu.
    auto* main = qobject_cast<QMainWindow*>(mainWindow_->window());
    QWidget* client = main && main->centralWidget() ? main->centralWidget() : mainWindow_.data();
    subWindow_ = new QMdiSubWindow(client);
    subWindow_->setObjectName(QStringLiteral("ModelViewerFrame"));
    subWindow_->setWindowTitle(QString::fromUtf8(kCaption));
    subWindow_->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose);
    // The program's icon in the caption, not the toolkit's logo.
    QPixmap none(16, 16);
    none.fill(Qt::transparent);
    subWindow_->setWindowIcon(mainWindow_->windowIcon().isNull() ? QIcon(none) : mainWindow_->windowIcon());
    subWindow_->setWidget(this);
    // As large as a window of its own where the client area has room for it.
    const QSize least = subWindow_->minimumSizeHint();
    subWindow_->resize(std::max(std::min(kWidth, client->width()), least.width()),
                       std::max(std::min(kHeight, client->height()), least.height()));
    const QPoint centred = client->rect().center() - subWindow_->rect().center();
    subWindow_->move(std::max(0, centred.x()), std::max(0, centred.y()));
    subWindow_->show();
    subWindow_->raise();
}

void ModelViewerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (StringGrid1) StringGrid1->setColWidth(1, std::max(10, width() - 12 - StringGrid1->colWidth(0)));
}

void ModelViewerWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (subWindow_) subWindow_->close();
}
