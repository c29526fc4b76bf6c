#pragma once
// A Reporter that speaks through message boxes on the GUI thread.
#include <QPointer>
#include <QWidget>

#include "numerics/Reporter.h"

class MessageBoxReporter : public Reporter {
public:
    explicit MessageBoxReporter(QWidget* parent = nullptr) : parent_(parent) {}
    // A plain message box titled with the application's name.
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
