#include "ui/widgets/TForm14.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QPixmap defaultFilterPicture() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath funnel;
    funnel.moveTo(1.5, 2.5);
    funnel.lineTo(14.5, 2.5);
    funnel.lineTo(9.5, 8.5);
    funnel.lineTo(9.5, 14.0);
    funnel.lineTo(6.5, 12.5);
    funnel.lineTo(6.5, 8.5);
    funnel.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(70, 110, 200));
    p.drawPath(funnel);
    return pm;
}

TForm14::TForm14(QWidget* parent) : QFrame(parent), boxReporter_(this) {
    setObjectName(QStringLiteral("Form14"));
    if (!parent) setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 2, 4, 4);
    top->setSpacing(3);

    auto* head = new QHBoxLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(defaultFilterPicture());
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setMinimumHeight(16);
    Image2->installEventFilter(this);
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    SpeedButton2->setIconSize(QSize(12, 12));
    head->addWidget(Image1);
    head->addWidget(Image2, 1);
    head->addWidget(SpeedButton2);
    top->addLayout(head);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    CheckListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    CheckListBox1->setUniformItemSizes(true);
    {
        QPalette pal = CheckListBox1->palette();
        pal.setColor(QPalette::Base, QColor(0xB9, 0xD1, 0xEA));  // gradient active caption
        CheckListBox1->setPalette(pal);
    }
    top->addWidget(CheckListBox1, 1);

    GroupBox1 = new QGroupBox(QStringLiteral("Добавить новый фильтр"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* add = new QHBoxLayout(GroupBox1);
    add->setContentsMargins(4, 2, 4, 4);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    for (const char* op : filterSignTexts) ComboBox1->addItem(QString::fromUtf8(op));
    ComboBox1->setCurrentIndex(0);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->installEventFilter(this);
    SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setText(QStringLiteral("+"));
    add->addWidget(ComboBox1);
    add->addWidget(Edit1, 1);
    add->addWidget(SpeedButton1);
    top->addWidget(GroupBox1);

    BitBtn2 = new QPushButton(QStringLiteral("Сохранить"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    top->addWidget(BitBtn2);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("Удалить фильтр"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("Удалить все фильтры"));
    N2->setObjectName(QStringLiteral("N2"));

    connect(SpeedButton2, &QToolButton::clicked, this, &QWidget::hide);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm14::add);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm14::save);
    connect(N1, &QAction::triggered, this, &TForm14::deleteSelected);
    connect(N2, &QAction::triggered, this, &TForm14::deleteAll);
    connect(CheckListBox1, &QListWidget::itemChanged, this, [this](QListWidgetItem*) { applyTicks(); });
    connect(CheckListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(CheckListBox1->viewport()->mapToGlobal(pos)); });

    fitSize();
    hide();
}

void TForm14::fitSize() {
    // The pop-up keeps its 184 x 202 unless a text would be cut at the running font; then it
    // takes the least size that shows every text. The group's caption needs the place the
    // style draws it in: the group's own minimum adds margins that would widen the pop-up
    // when the caption fits.
    QStyleOptionGroupBox opt;
    opt.initFrom(GroupBox1);
    opt.rect = QRect(0, 0, 4000, GroupBox1->sizeHint().height());
    opt.text = GroupBox1->title();
    opt.lineWidth = 1;
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    opt.textAlignment = GroupBox1->alignment();
    const QRect caption =
        GroupBox1->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, GroupBox1);
    GroupBox1->setMinimumWidth(std::max(caption.right() + 1, GroupBox1->layout()->totalMinimumSize().width()));
    resize(QSize(184, 202).expandedTo(minimumSizeHint()));
}

TForm14::~TForm14() {
    if (qApp) qApp->removeEventFilter(this);
}

Reporter& TForm14::reporter() { return reporter_ ? *reporter_ : boxReporter_; }

void TForm14::loadFilter(const filterArray& arr) {
    filterArray_ = arr;
    reload();
}

void TForm14::reload() {
    const QSignalBlocker block(CheckListBox1);
    CheckListBox1->clear();
    for (const auto& f : filterArray_) {
        auto* item = new QListWidgetItem(qs(f->getString(fs_)), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(f->enabled ? Qt::Checked : Qt::Unchecked);
        item->setSizeHint(QSize(0, 19));
    }
}

void TForm14::applyTicks() {
    // The ticks write through to the filter objects the column shares.
    const int n = std::min(CheckListBox1->count(), numOfFilter());
    for (int i = 0; i < n; ++i)
        filterArray_[static_cast<size_t>(i)]->enabled = CheckListBox1->item(i)->checkState() == Qt::Checked;
}

void TForm14::add() {
    const auto value = cellNumber(Edit1->text().toStdString());
    if (!value) {
        needOpen_ = true;
        reporter().message("Введите правильное число!");
        needOpen_ = false;
        return;
    }
    const int sign = std::clamp(ComboBox1->currentIndex(), 0, 5);
    filterArray_.push_back(std::make_shared<TFilter>(static_cast<std::uint8_t>(sign), *value, true));
    reload();
}

void TForm14::deleteSelected() {
    const int i = CheckListBox1->currentRow();
    if (i < 0 || i >= numOfFilter() || !CheckListBox1->item(i)->isSelected()) return;
    needOpen_ = true;
    const std::string text = CheckListBox1->item(i)->text().toStdString();
    if (reporter().confirmation("Вы действительно хотите фильтр: " + text + "?")) {
        // The column keeps its own reference until the list is saved.
        filterArray_.erase(filterArray_.begin() + i);
        reload();
        setFocus(Qt::OtherFocusReason);
    }
    needOpen_ = false;
}

void TForm14::deleteAll() {
    needOpen_ = true;
    if (reporter().confirmation("Вы действительно хотите удалить все фильтры?")) {
        filterArray_.clear();
        reload();
        setFocus(Qt::OtherFocusReason);
    }
    needOpen_ = false;
}

void TForm14::save() {
    emit saveRequested();
    hide();
}

void TForm14::popupAt(const QPoint& globalPos) {
    QPoint p = globalPos;
    if (QWidget* host = parentWidget()) {
        p = host->mapFromGlobal(globalPos);
        // Keep the whole frame inside the parent when it fits there.
        p.setX(std::max(0, std::min(p.x(), host->width() - width())));
        p.setY(std::max(0, std::min(p.y(), host->height() - height())));
    }
    move(p);
    show();
    raise();
    if (isWindow()) activateWindow();
    CheckListBox1->setFocus(Qt::PopupFocusReason);
}

bool TForm14::acceptsKey(const QString& text) const {
    // Only typed characters are judged: keys without text (arrows, Home, End) and control
    // characters (Backspace, Delete, Enter, Esc, Ctrl+letters) pass.
    if (text.isEmpty()) return true;
    const QChar ch = text.at(0);
    if (ch.unicode() < 0x20 || ch.unicode() == 0x7f) return true;
    return (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch == QLatin1Char('-') ||
           ch == QLatin1Char(fs_.decimalSeparator);
}

bool TForm14::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            add();
            return true;
        }
        if (ke->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
        if (!acceptsKey(ke->text())) return true;
    }
    if (watched == Image2 && event->type() == QEvent::MouseButtonRelease) {
        hide();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && isVisible() && !needOpen_) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Our own menu and any dialog take their clicks first; a click anywhere else closes.
        if (w && !QApplication::activePopupWidget() && !QApplication::activeModalWidget() && w != this &&
            !isAncestorOf(w))
            hide();
    }
    return QFrame::eventFilter(watched, event);
}

bool TForm14::event(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        const bool r = QFrame::event(e);
        fitSize();
        return r;
    }
    // As a window of its own it closes when it stops being the active one.
    if (e->type() == QEvent::WindowDeactivate && isWindow() && !needOpen_ && !QApplication::activePopupWidget() &&
        !QApplication::activeModalWidget())
        hide();
    return QFrame::event(e);
}

void TForm14::showEvent(QShowEvent* event) {
    qApp->installEventFilter(this);
    QFrame::showEvent(event);
}

void TForm14::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QFrame::hideEvent(event);
}
