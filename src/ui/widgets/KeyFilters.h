#pragma once
// Key filters of the numeric fields. Keys that type a character pass only when the
// character is allowed; Backspace, Enter and Esc always pass, and so do keys that type
// nothing (arrows, Delete, Home, End) and shortcuts with Ctrl, so editing and the clipboard
// keep working — what reaches a field that way is checked when the field is read.
class QKeyEvent;
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
