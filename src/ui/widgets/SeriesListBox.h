#pragma once
// A list of project series filled by drops from the workspace tree of series: an output
// list holds one series (a drop replaces it with the primary dragged series), an input list
// adds every dragged series it does not hold yet and deletes its selected items on a double
// click. Items hold the series' project ids, never the series, so a series renamed or
// changed in place stays listed; on the project's series event items whose series left the
// project disappear and the others show the series' titles as they are now.
#include <QListWidget>
#include <cstdint>
#include <vector>

class TForm1;
class TStatisticSeries;

class SeriesListBox : public QListWidget {
    Q_OBJECT
public:
    enum class Mode { Single, Many };
    SeriesListBox(const QString& objectName, Mode mode, TForm1& form, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    // Adds series as a drop does: Single keeps only `primary`, Many adds each of
    // `selected` not listed yet (project indices).
    void addSeries(int primary, const std::vector<int>& selected);
    // The listed ids in list order.
    std::vector<uint64_t> ids() const;
    // The listed series as they are in the project now, in list order; series that are
    // gone are left out (the list drops them at the next series event).
    std::vector<TStatisticSeries*> series() const;
    // Removes the items whose series are gone and retitles the others.
    void followProject();
    // Deletes the selected items (a double click on an input list).
    void deleteSelected();

signals:
    // After a drop, a prune or a deletion changed the items.
    void itemsChanged();

private:
    void addId(uint64_t id);
    TForm1& form_;
    Mode mode_;
};
