#pragma once
// The correlation map window "Коэффициенты парной корреляции": the coefficient of every pair
// of project series in a square grid, each cell coloured by the strength of its
// correlation; the grid can be copied as text or as a picture.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class FrozenTableView;
class CorrelationMapModel;
struct CorrelationMap;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // n + 1 rows and columns: the titles in row 0 and column 0, the coefficient of series i
    // and series j in cell (i, j), "-" where it is undefined.
    void setMap(const std::vector<std::string>& titles, const CorrelationMap& map);
    // Shows the window (not modal) at the centre of `owner`.
    void showOver(QWidget* owner);

    // The text of a cell (column, row).
    std::string cell(int col, int row) const;
    int rowCount() const;
    int colCount() const;
    // The fill colour of a cell as $00BBGGRR, or -1 where the grid draws the cell itself.
    int32_t cellColor(int col, int row) const;

    // "Копировать": the grid as text on the clipboard.
    void N1Click();
    // "Скопировать изображение" and the hidden "Скопировать" (Ctrl+C): a picture of the grid.
    void N2Click();

    // Puts a picture of a grid on the clipboard (the main window's copy of its drawn part).
    std::function<void(QWidget* grid)> copyPicture;

    FrozenTableView* StringGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;

private:
    CorrelationMapModel* model_ = nullptr;
};

// The colour of a coefficient as $00BBGGRR, from strong negative (blue) through white to
// strong positive (red).
int32_t correlationColor(double r);
// A coefficient as the map shows it: four significant digits, an exponent of at least four
// digits; "-" when it is not a number.
std::string correlationCellText(double r);
// Rows of cells as the clipboard text of the grid: cells joined by TAB, a cell holding a
// blank, a control character or a double quote enclosed in double quotes (inner ones
// doubled), every row followed by CR.
std::string gridClipboardText(const std::vector<std::vector<std::string>>& rows);
