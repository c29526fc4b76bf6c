#pragma once
// A tree of the workspace panel: a flat list of project objects, each node holding the
// object's stable id. It keeps the order in which its nodes were selected (Qt's own
// selected-items order is not the click order), and the series tree starts drags that
// carry the ids of the selected series under their own MIME type.
#include <QTreeWidget>
#include <cstdint>
#include <optional>
#include <vector>

class WorkspaceTree : public QTreeWidget {
    Q_OBJECT
public:
    // `dragSeries`: drags carry the series MIME type (only the series tree does this).
    WorkspaceTree(const QString& objectName, bool dragSeries, QWidget* parent = nullptr);

    // Removes all nodes and adds one node per entry: text, id and picture.
    struct Entry {
        QString text;
        uint64_t id = 0;
        int picture = 0;
    };
    void rebuild(const std::vector<Entry>& entries);

    static uint64_t idOf(const QTreeWidgetItem* item);
    // The node's picture index in the workspace pictures is kept under this role.
    static constexpr int kPictureRole = Qt::UserRole + 1;
    // The node that holds this id, or null.
    QTreeWidgetItem* itemById(uint64_t id) const;
    // The primary node: the current item when it is selected, else the first selected
    // node in selection order; null with no selection.
    QTreeWidgetItem* primaryItem() const;
    std::optional<uint64_t> primaryId() const;
    // Ids of all selected nodes in the order in which they were selected.
    const std::vector<uint64_t>& selectionOrder() const { return order_; }
    // Makes the node under `pos` (viewport coordinates) selected and current; with no
    // node there nothing changes. Returns the node or null.
    QTreeWidgetItem* selectAt(const QPoint& pos);

signals:
    // The widest node needs `more` pixels beyond what the tree shows (told while it is shown).
    void needsWidth(int more);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

private:
    void trackSelection();
    void checkWidth();
    bool dragSeries_;
    std::vector<uint64_t> order_;
};
