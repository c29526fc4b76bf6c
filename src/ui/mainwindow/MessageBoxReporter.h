#pragma once
// A Reporter that speaks through message boxes on the GUI thread.
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "numerics/Reporter.h"

class MessageBoxReporter : public Reporter {
public:
    explicit MessageBoxReporter(QWidget* parent = nullptr) : parent_(parent) {}
    // A message box titled with the application's name, its icon by messageIcon.
    void message(const std::string& text) override;
    void error(const std::string& text) override;
    void information(const std::string& text) override;
    // A warning with OK and Cancel; true only for OK.
    bool confirmation(const std::string& text) override;
    // One shared instance without a parent window.
    static MessageBoxReporter& instance();

private:
    QPointer<QWidget> parent_;
};

// The one rule for the icon of every message: an error, and a message that tells of one
// ("Ошибка открытия файла!", "Загружены не все строки.Ошибка чтения даты!"), shows the
// critical icon; a message that begins "Внимание" and every confirmation the warning icon;
// everything else the information icon.
QMessageBox::Icon messageIcon(RecordingReporter::Kind kind, const std::string& text);
