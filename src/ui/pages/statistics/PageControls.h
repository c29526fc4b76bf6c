#pragma once
// Controls the statistics and correlation pages build alike.
#include <QString>

class QGridLayout;
class QGroupBox;
class QLineEdit;
class QWidget;

// A lag field: "0", digits only.
QLineEdit* lagField(const char* name);
// A group box around one control.
QGroupBox* boxed(const QString& caption, QWidget* content);
// The two autocorrelation charts side by side above the cross-correlation chart.
QGridLayout* chartGrid(QWidget* first, QWidget* second, QWidget* cross);
