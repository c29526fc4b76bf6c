#include <QApplication>

#include "ui/StartWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvolyn"));
    StartWindow window;
    window.showMaximized();
    return QApplication::exec();
}
