#include "ui/widgets/TextAdvance.h"

#include <QFontMetricsF>
#include <cmath>

int TextAdvance::width(const QFont& font, const QString& text) {
    if (font_ != font) {
        font_ = font;
        advances_.clear();
    }
    qreal sum = 0;
    for (const QChar ch : text) {
        auto it = advances_.find(ch.unicode());
        if (it == advances_.end()) it = advances_.insert(ch.unicode(), QFontMetricsF(font_).horizontalAdvance(ch));
        sum += *it;
    }
    // One pixel more than the sum covers its rounding.
    return static_cast<int>(std::ceil(sum)) + 1;
}
