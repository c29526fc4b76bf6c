#pragma once
// The split dialog of the fragment page: how many points make one interval and which
// series is cut. The page fills it, shows it modally and reads it back.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    // The project's series by title; each item carries its series' id.
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
