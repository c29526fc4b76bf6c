#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/pages/data/TForm9.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm2.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/widgets/TForm17.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvolyn"));
    // The interface is Russian: the standard dialogs and buttons speak it too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The auxiliary windows first, each once and hidden, then the main window.
    TForm2 form2;
    TForm3 form3;
    TForm10 form10;
    TForm9 form9;
    TForm17 form17;
    TForm22 form22;
    TForm1 form1(TForm1::Services{nullptr, &form2, &form3, &form9, &form10, &form22, &form17});
    // Without a window manager (a bare X server) "maximised" means nothing; fill the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) form1.setGeometry(screen->availableGeometry());
    form1.showMaximized();
    return QApplication::exec();
}
