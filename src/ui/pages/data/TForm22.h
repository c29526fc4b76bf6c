#pragma once
// The small help of the date and time pattern letters, shown beside the pointer while it
// rests on the caption of the date or time format in the file-information grid.
#include <QWidget>

class QFrame;
class QPlainTextEdit;

class TForm22 : public QWidget {
    Q_OBJECT
public:
    enum class Help { None, Date, Time };

    explicit TForm22(QWidget* parent = nullptr);

    // Shows the date help (Memo1) or the time help (Memo2); the window takes the memo's height.
    void showDate();
    void showTime();
    // Which help is up; None while hidden.
    Help shown() const;

    QFrame* Panel1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Help help_ = Help::None;
};

// The lines of the two helps.
QString dateHelpText();
QString timeHelpText();
