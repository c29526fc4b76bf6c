#include "ui/widgets/KeyFilters.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <functional>

namespace {

// True for a key that types no character of its own or is one of the always allowed keys.
bool passesAlways(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return true;
    const QString text = key.text();
    return text.isEmpty() || !text.at(0).isPrint();
}

bool isDigitText(const QString& text) {
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(const QKeyEvent&)> allowed)
        : QObject(parent), allowed_(std::move(allowed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !allowed_(*static_cast<QKeyEvent*>(event))) return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(const QKeyEvent&)> allowed_;
};

class ExitFilter : public QObject {
public:
    ExitFilter(QObject* parent, std::function<void()> onExit) : QObject(parent), onExit_(std::move(onExit)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) onExit_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onExit_;
};

}  // namespace

bool getRealNumbers(const QKeyEvent& key, char decimalSeparator) {
    if (passesAlways(key)) return true;
    const QString text = key.text();
    return isDigitText(text) || text == QLatin1String("-") || text == QString(QLatin1Char(decimalSeparator));
}

bool getPositiveIntegerNumbers(const QKeyEvent& key) { return passesAlways(key) || isDigitText(key.text()); }

bool getIntegerNumbers(const QKeyEvent& key) {
    return passesAlways(key) || isDigitText(key.text()) || key.text() == QLatin1String("-");
}

void installRealNumbersFilter(QWidget* field, char decimalSeparator) {
    if (field)
        field->installEventFilter(
            new KeyFilter(field, [decimalSeparator](const QKeyEvent& k) { return getRealNumbers(k, decimalSeparator); }));
}

void installIntegerFilter(QWidget* field) {
    if (field) field->installEventFilter(new KeyFilter(field, &getIntegerNumbers));
}

void installPositiveIntegerFilter(QWidget* field) {
    if (field) field->installEventFilter(new KeyFilter(field, &getPositiveIntegerNumbers));
}

void installExitHandler(QWidget* field, std::function<void()> onExit) {
    if (field) field->installEventFilter(new ExitFilter(field, std::move(onExit)));
}

void zeroWhenEmpty(QLineEdit& field) {
    if (field.text().isEmpty()) field.setText(QStringLiteral("0"));
}
