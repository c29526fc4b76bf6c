#pragma once
// Widgets need an application object; the benchmark main does not make one. Off-screen
// unless a platform was chosen.
#include <QApplication>

inline void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvolyn_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}
