#pragma once
// A page of the main window. Pages whose work is not built yet are plain MainPage objects;
// a page with controls derives from it and reacts to being reset, shown and hidden.
#include <QBoxLayout>
#include <QWidget>

class MainPage : public QWidget {
    Q_OBJECT
public:
    MainPage(const QString& objectName, const QString& caption, QWidget* parent = nullptr)
        : QWidget(parent) {
        setObjectName(objectName);
        setWindowTitle(caption);
    }
    // Empties the page's controls when the main window is reset.
    virtual void clearPage() {}
    // Runs after the main window's own step when the page becomes the active page.
    virtual void pageShown() {}
    // Runs after the main window's own step when the page stops being the active page.
    virtual void pageHidden() {}
    // A series of the workspace tree was double-clicked while this page is shown.
    virtual void reloadPage() {}
    // Takes a control that the main window made for this page (the fragment chart's
    // group box): by default it goes at the end of the page's box layout.
    virtual void placeControl(QWidget* control) {
        control->setParent(this);
        auto* box = qobject_cast<QBoxLayout*>(layout());
        if (!layout()) {
            box = new QVBoxLayout(this);
            box->setContentsMargins(0, 0, 0, 0);
        }
        if (box) box->addWidget(control);
        control->show();
    }
};
