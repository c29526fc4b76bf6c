#include <QApplication>
#include <QScreen>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/pages/data/TForm9.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm2.h"
#include "ui/mainwindow/RussianInterface.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/widgets/TForm17.h"

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Blocks of half a megabyte and more (the point arrays of series) are mapped and
    // unmapped one by one. Left to itself the allocator raises that bound once large blocks
    // are freed, and a loaded project's memory then stays in the pools of the worker
    // threads: after "Новый" the 80 MB of a 50 x 100,000 project stayed with the process.
    mallopt(M_MMAP_THRESHOLD, 512 * 1024);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvolyn"));
    installRussianInterface(app);
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
