#pragma once
// "Сохранение модели": asks for the name under which an identified model is stored in the
// project (the regression, regularised-regression and dynamics pages share it).
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class Reporter;

class TForm17 : public QDialog {
    Q_OBJECT
public:
    explicit TForm17(Reporter* reporter = nullptr, QWidget* parent = nullptr);
    void setReporter(Reporter* reporter) { reporter_ = reporter; }

    // Proposes `name` and shows the dialog modally. On OK the typed name, or "model" when
    // the field is empty; nullopt on Cancel.
    std::optional<std::string> askName(const std::string& name);
    // "Сохранить": closes the dialog with OK when the name can be stored, else tells why
    // and stays open.
    bool Button1Click();
    // Why a name cannot be stored (it becomes a file name in the project folder), or
    // nullopt when it can. The key filter keeps most such names out; pasted text is
    // checked here.
    static std::optional<std::string> nameProblem(const std::string& name);

    // Shows the dialog and tells whether it was accepted (tests replace it).
    std::function<bool(TForm17&)> runModal;

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    Reporter* reporter_ = nullptr;
};
