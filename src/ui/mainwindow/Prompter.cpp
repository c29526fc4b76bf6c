#include "ui/mainwindow/Prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>
#include <QThread>

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

void DialogPrompter::message(const std::string& text) { boxes_.message(text); }

void DialogPrompter::error(const std::string& text) { boxes_.error(text); }

void DialogPrompter::information(const std::string& text) { boxes_.information(text); }

bool DialogPrompter::confirmation(const std::string& text) { return boxes_.confirmation(text); }

std::optional<std::string> DialogPrompter::openFileName(const std::string& filter) {
    const QString f = QFileDialog::getOpenFileName(parent_, QString(), QString(), qtFileFilter(filter));
    if (f.isEmpty()) return std::nullopt;
    return f.toStdString();
}

std::optional<std::string> DialogPrompter::saveFileName(const std::string& filter) {
    QFileDialog dialog(parent_, QString(), QString(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the first filter's one ("*.prj" gives "prj").
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    if (parts.size() >= 2 && parts[1].startsWith(QStringLiteral("*."))) {
        const QString ext = parts[1].mid(2).section(QLatin1Char(';'), 0, 0);
        if (!ext.isEmpty() && !ext.contains(QLatin1Char('*'))) dialog.setDefaultSuffix(ext);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

template <class F>
void GuiThreadReporter::onGuiThread(F&& f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

void GuiThreadReporter::message(const std::string& text) {
    onGuiThread([&] { target_.message(text); });
}

void GuiThreadReporter::error(const std::string& text) {
    onGuiThread([&] { target_.error(text); });
}

void GuiThreadReporter::information(const std::string& text) {
    onGuiThread([&] { target_.information(text); });
}

bool GuiThreadReporter::confirmation(const std::string& text) {
    bool answer = false;
    onGuiThread([&] { answer = target_.confirmation(text); });
    return answer;
}
