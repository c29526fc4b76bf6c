#pragma once
// The shift of a series: asks for the lag in points by which a series' values are moved
// against its time stamps, as a new series or in place.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);

    // Caption := the series' title, the lag "0", the point count; the check box keeps its
    // state.
    void prepare(const std::string& title, int count);
    // The typed lag, or nullopt when the text is not a whole number. A number too long for
    // an integer gives the nearest integer, which the shift refuses as longer than the series.
    std::optional<int> lag() const;
    // Shows the dialog modally and tells whether it closed with "Ок" (tests replace it).
    std::function<bool(TForm12&)> runModal;

    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
