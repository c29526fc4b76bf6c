// Widget tests run under GoogleTest with one QApplication on the offscreen platform,
// Russian as the application is.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/mainwindow/RussianInterface.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As in the application: Russian whatever the environment.
    installRussianInterface(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
