#pragma once
// Pictures of the fragment page's tool buttons, drawn here so they stay sharp and need no files.
#include <QIcon>

enum class FragmentTool {
    WholeRange,   // one good interval over the whole series
    ZoomMode,     // magnifier
    BadMode,      // red band
    GoodMode,     // green band
    Split,        // band cut into equal pieces
    Clear,        // chart wiped
    StretchX,     // arrows apart, horizontal
    ShrinkX,      // arrows together, horizontal
    StretchY,     // arrows apart, vertical
    ShrinkY,      // arrows together, vertical
    AutoX,        // "A" over a horizontal arrow
    AutoY,        // "A" beside a vertical arrow
    Back,         // half a screen back
    ToStart,      // back to the first point
    Forward,      // half a screen forward
    ToEnd,        // on to the last point
};

QIcon fragmentToolIcon(FragmentTool tool);
