#pragma once
// The filter pop-up of a filterable grid: the column's filters with a tick each (ticked =
// enabled), a new filter from an operator and a number, deletion of one or all filters, and
// "Сохранить", which hands the list back to the column. It opens at the pointer as a child
// frame of its parent and closes when the user clicks anywhere else, except while its own
// message, confirmation or menu is up.
#include <QFrame>
#include <QPixmap>

#include "exchange/GridFilter.h"
#include "numerics/FormatSettings.h"
#include "ui/mainwindow/MessageBoxReporter.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;

// The picture of the filter mark: a small funnel, 16 x 16.
QPixmap defaultFilterPicture();

class TForm14 : public QFrame {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
    ~TForm14() override;

    // Shows these filters (the same objects as the column's list).
    void loadFilter(const filterArray& arr);
    // Refills the list from the filters.
    void reload();
    const filterArray& filters() const { return filterArray_; }
    int numOfFilter() const { return static_cast<int>(filterArray_.size()); }
    // True while the pop-up's own message or confirmation is up.
    bool needOpen() const { return needOpen_; }

    void setReporter(Reporter* reporter) { reporter_ = reporter; }
    void setFormatSettings(const FormatSettings& fs) { fs_ = fs; }

    // Shows the pop-up with its top left corner at the pointer's screen position, kept
    // inside its parent, and gives it the focus.
    void popupAt(const QPoint& globalPos);

    // The commands of the controls.
    void add();             // SpeedButton1
    void deleteSelected();  // N1 "Удалить фильтр"
    void deleteAll();       // N2 "Удалить все фильтры"
    void save();            // BitBtn2 "Сохранить"

signals:
    // "Сохранить": the grid takes filters() for the column being edited.
    void saveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    Reporter& reporter();
    void fitSize();
    void applyTicks();
    bool acceptsKey(const QString& text) const;

    filterArray filterArray_;
    bool needOpen_ = false;
    Reporter* reporter_ = nullptr;
    MessageBoxReporter boxReporter_;
    FormatSettings fs_;

    QLabel* Image1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QLabel* Image2 = nullptr;
    QListWidget* CheckListBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
};
