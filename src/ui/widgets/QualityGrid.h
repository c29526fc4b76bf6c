#pragma once
// The result grid of a static model ("Параметр" | "Значение"): nine of the model's ten
// quality values in fixed rows, shared by the regression and regularised-regression pages.
#include "core/ProcessModel.h"

class editingStringGrid;

// 10 rows, 2 columns, one fixed row, column 0 200 pixels wide (column 1 fits any value),
// and the row captions.
void setupStaticQualityGrid(editingStringGrid& grid);
// Rows 1..9 get the values 0..7 and 9 (the root mean square error, value 8, is shown
// nowhere) written by formatNumber; missing values leave their rows empty. The value column
// widens when a value would not fit it.
void showStaticQuality(editingStringGrid& grid, const arrayOfExtended& values);
// Empties column 1 of rows 1 to the last.
void clearStaticQuality(editingStringGrid& grid);
