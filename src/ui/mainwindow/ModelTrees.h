#pragma once
// The commands of the workspace trees of static and dynamic models: their pop-up menus
// (open, export, delete, delete all), the viewers opened from them and the export of one
// model to a model file.
#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

class QMenu;
class QAction;
class TForm1;
class TForm19;
class TForm20;

class ModelTrees : public QObject {
    Q_OBJECT
public:
    explicit ModelTrees(TForm1& form);

    QMenu* PopupMenuStatModel = nullptr;
    QMenu* PopupMenuDynModel = nullptr;

    // Enable "Открыть", "Экспорт модели" and "Удалить модель" only while a listed model
    // is selected; "Удалить все модели" stays enabled.
    void PopupMenuStatModelPopup();
    void PopupMenuDynModelPopup();
    // Viewers: a double click opens one in a window of its own, "Открыть" one inside the
    // main window's client area.
    TForm19* TreeView3DblClick();
    TForm20* TreeView4DblClick();
    TForm19* N19Click();
    TForm20* N24Click();
    // "Экспорт модели".
    void N29Click();
    void N28Click();
    // "Удалить модель" (dynamic, static) and "Удалить все модели" (static, dynamic).
    void MenuItem1Click();
    void MenuItem2Click();
    void MenuItem3Click();
    void MenuItem4Click();

private:
    TForm19* openStatic(bool insideMainWindow);
    TForm20* openDynamic(bool insideMainWindow);
    TForm1& form_;
};

// The export's file name: its extension becomes `extension` (compared with letter case;
// appended when there is none), so "model.txt" and "model.SM" give "model.sm" and ".sm"
// stays ".sm".
std::string withModelExtension(const std::string& fileName, const std::string& extension);
