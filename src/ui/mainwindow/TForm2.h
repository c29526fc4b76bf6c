#pragma once
// The about box.
#include <QDialog>

class QLabel;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    // Fills the version line.
    void FormCreate();
    // Closes the window.
    void Button1Click();
    // Centres the window on `owner` and shows it without making it modal.
    void showOver(QWidget* owner);

private:
    QLabel* Label3 = nullptr;
};
