#pragma once
// Key filters of the numeric fields. Keys that type a character pass only when the
// character is allowed; Backspace, Enter and Esc always pass, and so do keys that type
// nothing (arrows, Delete, Home, End) and shortcuts with Ctrl, so editing and the clipboard
// keep working — what reaches a field that way is checked when the field is read.
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

// Digits, "-" and the decimal separator.
bool getRealNumbers(const QKeyEvent& key, char decimalSeparator = ',');
// Digits only.
bool getPositiveIntegerNumbers(const QKeyEvent& key);
// Digits and "-" (whole numbers of either sign: lags and delays).
bool getIntegerNumbers(const QKeyEvent& key);

// Installs the filter on a field (an edit, a combo box's edit, a grid's editor).
void installRealNumbersFilter(QWidget* field, char decimalSeparator = ',');
void installPositiveIntegerFilter(QWidget* field);
void installIntegerFilter(QWidget* field);

// Calls `onExit` whenever the focus leaves the field for another control (not when a
// message box, a menu or another application takes it).
void installExitHandler(QWidget* field, std::function<void()> onExit);
// The exit rule of numeric fields: a field left empty reads "0".
void zeroWhenEmpty(QLineEdit& field);
