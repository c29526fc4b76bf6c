#pragma once
// The width of a text from the advances of its characters, for measuring many texts quickly
// (a column of 100,000 names or values): no shaping, and never less than the shaped width,
// since kerning only narrows a text. The advances are kept per character for one font.
#include <QFont>
#include <QHash>
#include <QString>

class TextAdvance {
public:
    // Whole pixels, rounded up.
    int width(const QFont& font, const QString& text);

private:
    QFont font_;
    QHash<char16_t, qreal> advances_;
};
