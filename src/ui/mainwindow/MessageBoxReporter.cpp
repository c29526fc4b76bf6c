#include "ui/mainwindow/MessageBoxReporter.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void MessageBoxReporter::message(const std::string& text) {
    QMessageBox::information(parent_, QApplication::applicationName(), qs(text));
}

void MessageBoxReporter::error(const std::string& text) {
    QMessageBox::critical(parent_, QApplication::applicationName(), qs(text));
}

void MessageBoxReporter::information(const std::string& text) {
    QMessageBox::information(parent_, QApplication::applicationName(), qs(text));
}

bool MessageBoxReporter::confirmation(const std::string& text) {
    return QMessageBox::warning(parent_, QApplication::applicationName(), qs(text),
                                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

MessageBoxReporter& MessageBoxReporter::instance() {
    static MessageBoxReporter r;
    return r;
}
