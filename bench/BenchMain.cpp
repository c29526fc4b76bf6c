#include <benchmark/benchmark.h>

#include "BenchApplication.h"

// Google Benchmark's own main, with the application object ended before the program exits.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    endApplication();
    return 0;
}
