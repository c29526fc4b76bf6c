#include "ui/widgets/SeriesListBox.h"

#include <algorithm>

#include "ui/mainwindow/TForm1.h"
#include "ui/widgets/SeriesDropTarget.h"

namespace {
constexpr int kIdRole = Qt::UserRole;
}

SeriesListBox::SeriesListBox(const QString& objectName, Mode mode, TForm1& form, QWidget* parent)
    : QListWidget(parent), form_(form), mode_(mode) {
    setObjectName(objectName);
    setSelectionMode(mode == Mode::Many ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    acceptSeriesDrops(this, form, [this](const TForm1::DroppedSeries& d) { addSeries(d.primary, d.selected); });
    if (mode == Mode::Many) connect(this, &QListWidget::itemDoubleClicked, this, [this] { deleteSelected(); });
    connect(&form, &TForm1::seriesListChanged, this, &SeriesListBox::followProject);
}

void SeriesListBox::addId(uint64_t id) {
    const TStatisticSeries* s = form_.seriesById(id);
    if (!s) return;
    auto* item = new QListWidgetItem(QString::fromStdString(s->Title), this);
    item->setData(kIdRole, QVariant::fromValue<qulonglong>(id));
}

void SeriesListBox::addSeries(int primary, const std::vector<int>& selected) {
    if (mode_ == Mode::Single) {
        const uint64_t id = form_.seriesIdAt(primary);
        if (!id) return;
        clear();
        addId(id);
    } else {
        std::vector<uint64_t> have = ids();
        for (int index : selected) {
            const uint64_t id = form_.seriesIdAt(index);
            if (!id || std::find(have.begin(), have.end(), id) != have.end()) continue;
            addId(id);
            have.push_back(id);
        }
    }
    emit itemsChanged();
}

std::vector<uint64_t> SeriesListBox::ids() const {
    std::vector<uint64_t> out;
    out.reserve(static_cast<size_t>(count()));
    for (int i = 0; i < count(); ++i) out.push_back(item(i)->data(kIdRole).toULongLong());
    return out;
}

std::vector<TStatisticSeries*> SeriesListBox::series() const {
    std::vector<TStatisticSeries*> out;
    for (uint64_t id : ids())
        if (TStatisticSeries* s = form_.seriesById(id)) out.push_back(s);
    return out;
}

void SeriesListBox::followProject() {
    bool changed = false;
    for (int i = count() - 1; i >= 0; --i) {
        const TStatisticSeries* s = form_.seriesById(item(i)->data(kIdRole).toULongLong());
        if (!s) {
            delete takeItem(i);
            changed = true;
        } else if (const QString title = QString::fromStdString(s->Title); item(i)->text() != title) {
            item(i)->setText(title);
        }
    }
    if (changed) emit itemsChanged();
}

void SeriesListBox::deleteSelected() {
    const QList<QListWidgetItem*> chosen = selectedItems();
    if (chosen.isEmpty()) return;
    for (QListWidgetItem* it : chosen) delete it;
    emit itemsChanged();
}
