#pragma once
// The main window's small pictures, drawn here so they stay sharp and need no files.
#include <QIcon>
#include <QPixmap>

// Workspace pictures (16 x 16): 0 panel collapsed, 1 panel expanded, 2 laboratory series,
// 3 series, 4 static model, 5 dynamic model.
QPixmap imageList1(int index);
// Navigation pictures (20 x 20): 0 data, 1 loading, 2 conversion, 3 statistics,
// 4 correlation, 5 intervals, 6 identification, 7 preparation.
QPixmap imageList2(int index);
