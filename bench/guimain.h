#pragma once
// The main() of the benchmarks that draw: text needs fonts, fonts need a running application; no
// window is shown.

#include <QByteArray>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

inline int runDrawingBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
