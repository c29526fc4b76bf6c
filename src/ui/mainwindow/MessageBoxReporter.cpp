#include "ui/mainwindow/MessageBoxReporter.h"

#include <QApplication>

namespace {
using Kind = RecordingReporter::Kind;

void show(QWidget* parent, Kind kind, const std::string& text) {
    const QString t = QString::fromStdString(text);
    QMessageBox box(messageIcon(kind, text), QApplication::applicationName(), t, QMessageBox::Ok, parent);
    box.exec();
}
}  // namespace

QMessageBox::Icon messageIcon(Kind kind, const std::string& text) {
    if (kind == Kind::Confirmation) return QMessageBox::Warning;
    if (kind == Kind::Error) return QMessageBox::Critical;
    const QString t = QString::fromStdString(text);
    if (t.contains(QStringLiteral("ошибк"), Qt::CaseInsensitive)) return QMessageBox::Critical;
    if (t.startsWith(QStringLiteral("Внимание"))) return QMessageBox::Warning;
    return QMessageBox::Information;
}

void MessageBoxReporter::message(const std::string& text) { show(parent_, Kind::Message, text); }

void MessageBoxReporter::error(const std::string& text) { show(parent_, Kind::Error, text); }

void MessageBoxReporter::information(const std::string& text) { show(parent_, Kind::Information, text); }

bool MessageBoxReporter::confirmation(const std::string& text) {
    QMessageBox box(messageIcon(Kind::Confirmation, text), QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel, parent_);
    return box.exec() == QMessageBox::Ok;
}

MessageBoxReporter& MessageBoxReporter::instance() {
    static MessageBoxReporter r;
    return r;
}
