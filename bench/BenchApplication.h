#pragma once
// The one application object the widget benchmarks need, made on first use (off screen
// unless a platform is set).
#include <QApplication>

inline void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvolyn_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}
