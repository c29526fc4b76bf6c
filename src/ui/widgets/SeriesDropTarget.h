#pragma once
// Makes any control a drop target for series dragged from the workspace tree of series:
// drags from anywhere else are refused at drag-over, so nothing happens on their drop.
#include <functional>

#include "ui/mainwindow/TForm1.h"

class QWidget;

using SeriesDropHandler = std::function<void(const TForm1::DroppedSeries& dropped)>;

// `onDrop` gets the dropped series as project indices (the primary one and all selected
// ones in selection order); a drop whose series are all gone since the drag began does
// not call it. For item views the drop is taken on the viewport.
void acceptSeriesDrops(QWidget* target, TForm1& form, SeriesDropHandler onDrop);
