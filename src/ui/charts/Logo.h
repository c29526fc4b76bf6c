#pragma once
// The product's logo: shown in the about window and saved with every HTML report.
#include <QPixmap>

// The logo at side x side pixels (drawn, so it is sharp at any size).
QPixmap tarvolynLogo(int side = 116);
