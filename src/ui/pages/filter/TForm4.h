#pragma once
// "Сохранение ряда": the name, colour and laboratory flag under which the filter page stores
// its result in the project. Every showing proposes a fresh random colour.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>

class QCheckBox;
class QColorDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class Reporter;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // Messages go to `reporter` (none: message boxes).
    explicit TForm4(Reporter* reporter = nullptr);
    ~TForm4() override;

    // A new random colour for the swatch: red, green and blue each 0..254, drawn in that order.
    void FormShow();
    // Lets the user pick the swatch's colour.
    void Panel1Click();
    // "Сохранить": closes the dialog with OK when a name is given; an empty or blank name is
    // refused with a message and the dialog stays open.
    bool Button1Click();

    // The swatch's colour as $00BBGGRR.
    int32_t colour() const;
    void setColour(const QColor& colour);
    // Seeds the random colours (tests).
    void seedColours(unsigned seed) { rng_.seed(seed); }

    // Shows the dialog modally, centred on `over` when given; true for "Сохранить".
    bool ask(QWidget* over);
    // Shows the dialog and tells whether it was accepted (tests replace it).
    std::function<bool(TForm4&)> runModal;
    // Runs the colour dialog from the given colour; nullopt when cancelled (tests replace it).
    std::function<std::optional<QColor>(const QColor&)> runColorDialog;

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Panel1 = nullptr;
    QColorDialog* ColorDialog1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Reporter* reporter_ = nullptr;
    std::mt19937 rng_;
};
