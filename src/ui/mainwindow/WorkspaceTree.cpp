#include "ui/mainwindow/WorkspaceTree.h"

#include <QMimeData>
#include <algorithm>
#include <unordered_set>

#include "ui/mainwindow/Icons.h"
#include "ui/mainwindow/SeriesDrag.h"

WorkspaceTree::WorkspaceTree(const QString& objectName, bool dragSeries, QWidget* parent)
    : QTreeWidget(parent), dragSeries_(dragSeries) {
    setObjectName(objectName);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(19);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &WorkspaceTree::trackSelection);
}

uint64_t WorkspaceTree::idOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toULongLong() : 0;
}

void WorkspaceTree::rebuild(const std::vector<Entry>& entries) {
    {
        const QSignalBlocker block(this);
        clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(entries.size()));
        for (const Entry& e : entries) {
            auto* item = new QTreeWidgetItem(QStringList{e.text});
            item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(e.id));
            item->setData(0, kPictureRole, e.picture);
            item->setIcon(0, QIcon(imageList1(e.picture)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
            items.push_back(item);
        }
        addTopLevelItems(items);
    }
    order_.clear();
    emit itemSelectionChanged();
    checkWidth();
}

void WorkspaceTree::checkWidth() {
    if (!isVisible()) return;
    const int more = sizeHintForColumn(0) - viewport()->width();
    if (more > 0) emit needsWidth(more);
}

void WorkspaceTree::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    checkWidth();
}

void WorkspaceTree::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    checkWidth();
}

QTreeWidgetItem* WorkspaceTree::itemById(uint64_t id) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (idOf(topLevelItem(i)) == id) return topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* WorkspaceTree::primaryItem() const {
    QTreeWidgetItem* cur = currentItem();
    if (cur && cur->isSelected()) return cur;
    if (!order_.empty()) return itemById(order_.front());
    return nullptr;
}

std::optional<uint64_t> WorkspaceTree::primaryId() const {
    if (QTreeWidgetItem* item = primaryItem()) return idOf(item);
    return std::nullopt;
}

QTreeWidgetItem* WorkspaceTree::selectAt(const QPoint& pos) {
    QTreeWidgetItem* item = itemAt(pos);
    if (!item) return nullptr;
    if (!item->isSelected()) {
        clearSelection();
        item->setSelected(true);
    }
    setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    return item;
}

void WorkspaceTree::trackSelection() {
    std::unordered_set<uint64_t> selectedNow;
    std::vector<uint64_t> inTreeOrder;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        if (item->isSelected()) {
            selectedNow.insert(idOf(item));
            inTreeOrder.push_back(idOf(item));
        }
    }
    // Keep the old order of what stays selected, then append what is new (several new
    // nodes at once, as a Shift range, in tree order).
    std::erase_if(order_, [&](uint64_t id) { return !selectedNow.count(id); });
    std::unordered_set<uint64_t> known(order_.begin(), order_.end());
    for (uint64_t id : inTreeOrder)
        if (!known.count(id)) order_.push_back(id);
}

QStringList WorkspaceTree::mimeTypes() const {
    if (dragSeries_) return {QLatin1String(kSeriesMimeType)};
    return QTreeWidget::mimeTypes();
}

QMimeData* WorkspaceTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    if (!dragSeries_) return QTreeWidget::mimeData(items);
    SeriesDrag drag;
    drag.selected = order_;
    if (auto p = primaryId()) drag.primary = *p;
    else if (!items.isEmpty()) drag.primary = idOf(items.front());
    if (drag.selected.empty() && !items.isEmpty()) drag.selected.push_back(drag.primary);
    return encodeSeriesDrag(drag);
}
