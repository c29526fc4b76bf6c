#include "ui/pages/statistics/CorrelationChoice.h"

#include <QLineEdit>

#include "ui/mainwindow/TForm1.h"
#include "ui/widgets/SeriesDropTarget.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/pages/statistics/StatisticsPage.h"

CorrelationChoice::CorrelationChoice(TForm1& form) : QObject(&form), form_(form) {
    connect(&form, &TForm1::seriesListChanged, this, &CorrelationChoice::followSeries);
}

int& CorrelationChoice::slot(int which) const {
    return which == 1 ? form_.analyzer().korSeries1Index : form_.analyzer().korSeries2Index;
}

int CorrelationChoice::index(int which) const {
    const int i = slot(which);
    return i >= 0 && i < form_.project().seriesCount() ? i : -1;
}

QLineEdit* CorrelationChoice::field(int which, const char* objectName) {
    const QString text = which == 1 ? QStringLiteral("Параметр1") : QStringLiteral("Параметр2");
    auto* e = new QLineEdit(text);
    e->setObjectName(QLatin1String(objectName));
    e->setReadOnly(true);
    e->setPlaceholderText(text);
    acceptSeriesDrops(e, form_, [this, which](const TForm1::DroppedSeries& d) { choose(which, d.primary); });
    return e;
}

void CorrelationChoice::choose(int which, int seriesIndex) {
    if (seriesIndex < 0 || seriesIndex >= form_.project().seriesCount()) return;
    slot(which) = seriesIndex;
    id(which) = form_.seriesIdAt(seriesIndex);
    emit changed();
}

void CorrelationChoice::followSeries() {
    bool changedNow = false;
    for (int which : {1, 2}) {
        int& i = slot(which);
        const int now = id(which) ? form_.seriesIndexOf(id(which)) : -1;
        if (now < 0) id(which) = 0;
        // Moved, gone, or still there and perhaps renamed in place: the fields show it anew.
        changedNow = changedNow || i >= 0 || now >= 0;
        i = now;
    }
    if (changedNow) emit changed();
}

bool CorrelationChoice::check(int which, QLineEdit* edit) {
    int& i = slot(which);
    if (i >= 0 && i < form_.project().seriesCount()) {
        id(which) = form_.seriesIdAt(i);
        edit->setText(QString::fromStdString(form_.project().seriesList[static_cast<size_t>(i)]->Title));
        return true;
    }
    i = -1;
    id(which) = 0;
    edit->clear();
    return false;
}

void buildStatisticsPages(TForm1& form) {
    auto* choice = new CorrelationChoice(form);
    form.setPage(2, new StatisticsPage(form));
    form.setPage(3, new CorrelationPage(form, *choice));
    form.setPage(5, new IntervalStatisticsPage(form, *choice));
}
