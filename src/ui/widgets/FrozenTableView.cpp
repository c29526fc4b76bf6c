#include "ui/widgets/FrozenTableView.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace {

const char* const kPaneNames[3] = {"frozenRows", "frozenCols", "frozenCorner"};

QTableView* newPane(QWidget* host, const char* name) {
    auto* p = new QTableView(host);
    p->setObjectName(QLatin1String(name));
    // Clicks, the wheel and tool tips go through to the view under the pane.
    p->setAttribute(Qt::WA_TransparentForMouseEvents);
    p->setFocusPolicy(Qt::NoFocus);
    p->setFrameShape(QFrame::NoFrame);
    p->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The pane scrolls only with the view, never to a current cell of its own.
    p->setAutoScroll(false);
    p->setCornerButtonEnabled(false);
    for (QHeaderView* h : {p->horizontalHeader(), p->verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->hide();
    }
    p->hide();
    return p;
}

// Makes `to` show the sections [0, count) of `from` with their sizes.
void copySections(const QHeaderView* from, QHeaderView* to, int count) {
    if (to->defaultSectionSize() != from->defaultSectionSize()) to->setDefaultSectionSize(from->defaultSectionSize());
    if (to->minimumSectionSize() != from->minimumSectionSize()) to->setMinimumSectionSize(from->minimumSectionSize());
    count = std::min({count, from->count(), to->count()});
    for (int i = 0; i < count; ++i) {
        if (to->isSectionHidden(i) != from->isSectionHidden(i)) to->setSectionHidden(i, from->isSectionHidden(i));
        const int size = from->sectionSize(i);
        if (!from->isSectionHidden(i) && to->sectionSize(i) != size) to->resizeSection(i, size);
    }
}

// Scrolls back until `deficit` (how far a cell still lies under the fixed band) is gone.
template <class Deficit>
void uncover(QScrollBar* bar, QAbstractItemView::ScrollMode mode, Deficit deficit) {
    for (int d = deficit(); d > 0 && bar->value() > bar->minimum(); d = deficit())
        bar->setValue(mode == QAbstractItemView::ScrollPerPixel ? bar->value() - d : bar->value() - 1);
}

// Shows a pane's cells `x` and `y` pixels scrolled (the panes scroll by pixels).
void alignPane(QTableView* pane, int x, int y) {
    const std::pair<QScrollBar*, QHeaderView*> axes[] = {{pane->horizontalScrollBar(), pane->horizontalHeader()},
                                                          {pane->verticalScrollBar(), pane->verticalHeader()}};
    const int offsets[] = {x, y};
    for (int k = 0; k < 2; ++k) {
        auto [bar, header] = axes[k];
        const int offset = offsets[k];
        // A range not yet fitted to the pane's new size must not hold the bar short of the
        // offset; the pane's next layout fits it again.
        if (bar->maximum() < offset) {
            const QSignalBlocker quiet(bar);
            bar->setMaximum(offset);
        }
        bar->setValue(offset);
        // The pane's own layout may have set its header apart from its bar.
        if (header->offset() != offset) {
            header->setOffset(offset);
            pane->viewport()->update();
        }
    }
}

}  // namespace

FrozenTableView::FrozenTableView(QWidget* parent) : QTableView(parent) {
    auto follow = [this] { followScroll(); };
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, follow);
        connect(bar, &QScrollBar::rangeChanged, this, follow);
    }
    bindHeaders();
}

void FrozenTableView::bindHeaders() {
    // The headers can be replaced (setHorizontalHeader): the panes follow the current ones.
    QHeaderView* top = horizontalHeader();
    QHeaderView* left = verticalHeader();
    if (top == boundTop_ && left == boundLeft_) return;
    for (const QMetaObject::Connection& c : headerConnections_) disconnect(c);
    for (QWidget* w : {topViewport_.data(), leftViewport_.data()})
        if (w) w->removeEventFilter(this);
    boundTop_ = top;
    boundLeft_ = left;
    topViewport_ = top->viewport();
    leftViewport_ = left->viewport();
    headerConnections_[0] = connect(top, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        for (QTableView* p : panes_)
            if (p && logical < p->horizontalHeader()->count()) p->horizontalHeader()->resizeSection(logical, size);
        if (logical < frozenCols_) placePanes();
    });
    headerConnections_[1] = connect(left, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        for (QTableView* p : panes_)
            if (p && logical < p->verticalHeader()->count()) p->verticalHeader()->resizeSection(logical, size);
        if (logical < frozenRows_) placePanes();
    });
    topViewport_->installEventFilter(this);
    leftViewport_->installEventFilter(this);
}

FrozenTableView::~FrozenTableView() {
    for (const QMetaObject::Connection& c : modelConnections_) disconnect(c);
    for (const QMetaObject::Connection& c : headerConnections_) disconnect(c);
    for (QWidget* w : {topViewport_.data(), leftViewport_.data()})
        if (w) w->removeEventFilter(this);
    for (QTableView*& p : panes_) {
        delete p;
        p = nullptr;
    }
}

void FrozenTableView::setFrozen(int rows, int cols) {
    frozenRows_ = std::max(0, rows);
    frozenCols_ = std::max(0, cols);
    bindHeaders();
    makePanes();
    syncPanes();
    placePanes();
}

void FrozenTableView::makePanes() {
    const bool wanted[3] = {frozenRows_ > 0, frozenCols_ > 0, frozenRows_ > 0 && frozenCols_ > 0};
    bool made = false;
    for (int k = 0; k < 3; ++k) {
        QTableView*& p = panes_[static_cast<size_t>(k)];
        if (!wanted[k]) {
            delete p;
            p = nullptr;
            continue;
        }
        if (p) continue;
        p = newPane(this, kPaneNames[k]);
        made = true;
        if (model()) {
            p->setModel(model());
            p->setSelectionModel(selectionModel());
        }
        for (QScrollBar* bar : {p->horizontalScrollBar(), p->verticalScrollBar()})
            connect(bar, &QScrollBar::rangeChanged, this, [this] { followScroll(); });
    }
    // The corner lies over both bands.
    if (panes_[kCorner]) panes_[kCorner]->raise();
    // A new pane's headers must take a model change before the panes are synchronised.
    if (made) bindModel();
}

void FrozenTableView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    for (QTableView* p : panes_) {
        if (!p) continue;
        p->setModel(model);
        p->setSelectionModel(selectionModel());
    }
    bindModel();
    syncPanes();
    placePanes();
}

void FrozenTableView::setSelectionModel(QItemSelectionModel* selectionModel) {
    QTableView::setSelectionModel(selectionModel);
    // While the view changes its model, the panes still have the old one; setModel hands
    // them the new selection afterwards.
    for (QTableView* p : panes_)
        if (p && selectionModel && p->model() == selectionModel->model()) p->setSelectionModel(selectionModel);
}

void FrozenTableView::bindModel() {
    for (const QMetaObject::Connection& c : modelConnections_) disconnect(c);
    QAbstractItemModel* m = model();
    if (!m) return;
    // Connected after the panes' own headers, so these run once both have their sections.
    auto changed = [this] {
        syncPanes();
        placePanes();
    };
    modelConnections_[0] = connect(m, &QAbstractItemModel::modelReset, this, changed);
    modelConnections_[1] = connect(m, &QAbstractItemModel::rowsInserted, this, changed);
    modelConnections_[2] = connect(m, &QAbstractItemModel::rowsRemoved, this, changed);
    modelConnections_[3] = connect(m, &QAbstractItemModel::columnsInserted, this, changed);
    modelConnections_[4] = connect(m, &QAbstractItemModel::columnsRemoved, this, changed);
    modelConnections_[5] = connect(m, &QAbstractItemModel::layoutChanged, this, changed);
    modelConnections_[6] = connect(m, &QAbstractItemModel::headerDataChanged, this, changed);
}

void FrozenTableView::syncPanes() {
    bindHeaders();
    const int cols = horizontalHeader()->count(), rows = verticalHeader()->count();
    for (int k = 0; k < 3; ++k) {
        QTableView* p = panes_[static_cast<size_t>(k)];
        if (!p) continue;
        p->setShowGrid(showGrid());
        p->setGridStyle(gridStyle());
        p->setWordWrap(wordWrap());
        p->setTextElideMode(textElideMode());
        p->setSelectionMode(selectionMode());
        p->setSelectionBehavior(selectionBehavior());
        p->setAlternatingRowColors(alternatingRowColors());
        p->setIconSize(iconSize());
        // The panes take the view's offsets in pixels (see followScroll).
        p->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        p->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        if (p->itemDelegate() != itemDelegate()) p->setItemDelegate(itemDelegate());
        for (int c = 0; c < cols; ++c)
            if (p->itemDelegateForColumn(c) != itemDelegateForColumn(c)) p->setItemDelegateForColumn(c, itemDelegateForColumn(c));
        // The pane over the fixed rows scrolls sideways with the view, the one over the
        // fixed columns up and down: those need every section, the rest only the fixed ones.
        copySections(horizontalHeader(), p->horizontalHeader(), k == kRows ? cols : frozenCols_);
        copySections(verticalHeader(), p->verticalHeader(), k == kCols ? rows : frozenRows_);
        QHeaderView* ph = p->horizontalHeader();
        ph->setDefaultAlignment(horizontalHeader()->defaultAlignment());
        ph->setStyleSheet(horizontalHeader()->styleSheet());
        QHeaderView* pv = p->verticalHeader();
        pv->setDefaultAlignment(verticalHeader()->defaultAlignment());
        pv->setStyleSheet(verticalHeader()->styleSheet());
    }
}

int FrozenTableView::bandHeight(bool limited) const {
    if (frozenRows_ <= 0) return 0;
    int h = 0;
    for (int r = 0; r < std::min(frozenRows_, verticalHeader()->count()); ++r) h += rowHeight(r);
    return limited && h > viewport()->height() * 3 / 4 ? 0 : h;
}

int FrozenTableView::bandWidth(bool limited) const {
    if (frozenCols_ <= 0) return 0;
    int w = 0;
    for (int c = 0; c < std::min(frozenCols_, horizontalHeader()->count()); ++c) w += columnWidth(c);
    return limited && w > viewport()->width() * 3 / 4 ? 0 : w;
}

int FrozenTableView::frozenHeight() const { return bandHeight(true); }
int FrozenTableView::frozenWidth() const { return bandWidth(true); }

void FrozenTableView::placePanes() {
    if (!panes_[kRows] && !panes_[kCols]) return;
    const QRect vp = viewport()->geometry();
    const int h = std::min(frozenHeight(), vp.height()), w = std::min(frozenWidth(), vp.width());
    // Where the view shows headers, the panes show theirs over the headers' fixed part.
    const int hh = horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0;
    const int vh = verticalHeader()->isVisible() ? verticalHeader()->width() : 0;
    auto place = [&](QTableView* p, bool show, const QRect& r, bool withTop, bool withLeft) {
        if (!p) return;
        if (!show) {
            p->hide();
            return;
        }
        p->horizontalHeader()->setVisible(withTop);
        if (withTop) p->horizontalHeader()->setFixedHeight(hh);
        p->verticalHeader()->setVisible(withLeft);
        if (withLeft) p->verticalHeader()->setFixedWidth(vh);
        p->setGeometry(r);
        p->show();
    };
    place(panes_[kRows], h > 0, QRect(vp.x() - vh, vp.y(), vp.width() + vh, h), false, vh > 0);
    place(panes_[kCols], w > 0, QRect(vp.x(), vp.y() - hh, w, vp.height() + hh), hh > 0, false);
    place(panes_[kCorner], h > 0 && w > 0, QRect(vp.x() - vh, vp.y() - hh, w + vh, h + hh), hh > 0, vh > 0);
    followScroll();
}

void FrozenTableView::followScroll() {
    // The panes follow the offsets the view draws its cells at, not its scroll bars: scrolled
    // by items to the end of its range, the view lines its last column up with its right
    // edge, an offset that changes with its width while the bar's value stays the same.
    const int x = horizontalHeader()->offset(), y = verticalHeader()->offset();
    if (QTableView* p = panes_[kRows]) alignPane(p, x, 0);
    if (QTableView* p = panes_[kCols]) alignPane(p, 0, y);
    if (QTableView* p = panes_[kCorner]) alignPane(p, 0, 0);
}

void FrozenTableView::updateGeometries() {
    QTableView::updateGeometries();
    placePanes();
}

int cellWidthForTextWidth(const QTableView& view, int textWidth) {
    // An item's text keeps a margin on either side, and the grid line takes the column's
    // last pixel; two more keep the text clear of its eliding by a rounding.
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return textWidth + 2 * margin + (view.showGrid() ? 1 : 0) + 2;
}

int FrozenTableView::cellWidthForText(const QString& text) const {
    return cellWidthForTextWidth(*this, fontMetrics().horizontalAdvance(text));
}

void FrozenTableView::repaintCells() {
    viewport()->update();
    for (QTableView* p : panes_)
        if (p) p->viewport()->update();
}

int FrozenTableView::shownRowAt(int y) const {
    if (y >= 0 && y < frozenHeight()) {
        int bottom = 0;
        for (int r = 0; r < frozenRows_; ++r)
            if (y < (bottom += rowHeight(r))) return r;
    }
    return rowAt(y);
}

int FrozenTableView::shownColumnAt(int x) const {
    if (x >= 0 && x < frozenWidth()) {
        int right = 0;
        for (int c = 0; c < frozenCols_; ++c)
            if (x < (right += columnWidth(c))) return c;
    }
    return columnAt(x);
}

int FrozenTableView::shownRowY(int row) const {
    if (row < 0 || row >= frozenRows_ || frozenHeight() == 0) return rowViewportPosition(row);
    int y = 0;
    for (int r = 0; r < row; ++r) y += rowHeight(r);
    return y;
}

int FrozenTableView::shownColumnX(int col) const {
    if (col < 0 || col >= frozenCols_ || frozenWidth() == 0) return columnViewportPosition(col);
    int x = 0;
    for (int c = 0; c < col; ++c) x += columnWidth(c);
    return x;
}

QModelIndex FrozenTableView::indexAt(const QPoint& pos) const {
    const QModelIndex plain = QTableView::indexAt(pos);  // also lays out what is pending
    const bool inRows = pos.y() >= 0 && pos.y() < frozenHeight();
    const bool inCols = pos.x() >= 0 && pos.x() < frozenWidth();
    if ((!inRows && !inCols) || !model()) return plain;
    const int r = shownRowAt(pos.y()), c = shownColumnAt(pos.x());
    if (r < 0 || c < 0) return {};
    return model()->index(r, c, rootIndex());
}

QRect FrozenTableView::visualRect(const QModelIndex& index) const {
    QRect r = QTableView::visualRect(index);
    if (!index.isValid() || r.isNull()) return r;
    if (index.row() < frozenRows_) r.moveTop(shownRowY(index.row()));
    if (index.column() < frozenCols_) r.moveLeft(shownColumnX(index.column()));
    return r;
}

void FrozenTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || (frozenHeight() == 0 && frozenWidth() == 0)) {
        QTableView::scrollTo(index, hint);
        return;
    }
    const bool fixedRow = index.row() < frozenRows_ && frozenHeight() > 0;
    const bool fixedCol = index.column() < frozenCols_ && frozenWidth() > 0;
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const int keepV = v->value(), keepH = h->value();
    QTableView::scrollTo(index, hint);
    if (fixedRow)
        v->setValue(keepV);
    else
        uncover(v, verticalScrollMode(), [&] { return frozenHeight() - rowViewportPosition(index.row()); });
    if (fixedCol)
        h->setValue(keepH);
    else
        uncover(h, horizontalScrollMode(), [&] { return frozenWidth() - columnViewportPosition(index.column()); });
}

bool FrozenTableView::eventFilter(QObject* watched, QEvent* event) {
    // The fixed part of a shown header belongs to the pane drawn over it: the sections
    // scrolled under it take no clicks there. Its context menu still opens: the header's
    // owner asks shownColumnAt / shownRowAt which section the user sees at the point.
    // (The event is looked at before the view: a header sends events while it is being
    // destroyed.)
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    const bool top = mouse && watched == topViewport_.data(), left = mouse && watched == leftViewport_.data();
    if (!top && !left) return QTableView::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    // A drag begun outside (sizing a section) goes on.
    if (type == QEvent::MouseMove && me->buttons() != Qt::NoButton) return QTableView::eventFilter(watched, event);
    const QPoint pos = me->position().toPoint();
    const bool inBand =
        (top && pos.x() >= 0 && pos.x() < frozenWidth()) || (left && pos.y() >= 0 && pos.y() < frozenHeight());
    // A release ends what its press began: it is kept from the header only when the press was.
    if (type == QEvent::MouseButtonRelease) {
        const bool kept = headerPressKept_;
        headerPressKept_ = false;
        return kept || QTableView::eventFilter(watched, event);
    }
    if (type == QEvent::MouseButtonPress) headerPressKept_ = inBand;
    return inBand || QTableView::eventFilter(watched, event);
}
