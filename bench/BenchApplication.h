#pragma once
// The one application object the widget benchmarks need, made on first use (off screen
// unless a platform is set). main() (BenchMain.cpp) ends it after the last benchmark, while
// Qt is still whole: left to the program's exit, it would be torn down after parts of Qt
// and crash the process. Windows a benchmark keeps between runs (in a static) must go
// before it: hand their release to releaseBeforeApplicationEnds.
#include <QApplication>
#include <functional>
#include <memory>
#include <vector>

namespace bench_application {
inline std::unique_ptr<QApplication>& instance() {
    static std::unique_ptr<QApplication> app;
    return app;
}
inline std::vector<std::function<void()>>& releases() {
    static std::vector<std::function<void()>> list;
    return list;
}
}  // namespace bench_application

inline void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvolyn_bench";
    static char* argv[] = {name, nullptr};
    bench_application::instance() = std::make_unique<QApplication>(argc, argv);
}

// Runs `release` (which drops windows a benchmark keeps) just before the application ends.
inline void releaseBeforeApplicationEnds(std::function<void()> release) {
    bench_application::releases().push_back(std::move(release));
}

// Drops what the benchmarks kept, newest first, then the application object.
inline void endApplication() {
    auto& list = bench_application::releases();
    while (!list.empty()) {
        auto release = std::move(list.back());
        list.pop_back();
        release();
    }
    bench_application::instance().reset();
}
