#include "ui/pages/statistics/PageControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/widgets/KeyFilters.h"

QLineEdit* lagField(const char* name) {
    auto* e = new QLineEdit(QStringLiteral("0"));
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(100);
    installPositiveIntegerFilter(e);
    return e;
}

QGroupBox* boxed(const QString& caption, QWidget* content) {
    auto* box = new QGroupBox(caption);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(4, 4, 4, 4);
    l->addWidget(content);
    return box;
}

QGridLayout* chartGrid(QWidget* first, QWidget* second, QWidget* cross) {
    auto* g = new QGridLayout;
    g->addWidget(first, 0, 0);
    g->addWidget(second, 0, 1);
    g->addWidget(cross, 1, 0, 1, 2);
    return g;
}
