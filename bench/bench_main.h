#pragma once
// main() of a benchmark that needs fonts and images but no display.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace vodirev::bench {

// App is QApplication for benchmarks of widgets.
template <class App = QGuiApplication>
int RunBenchmarksOffscreen(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vodirev::bench
