#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

// The main of every benchmark program: the benchmarks named on the command line run inside a Qt
// application of type App, on the offscreen platform unless one was chosen. An option the
// benchmark library does not know is an error, so a mistyped filter never measures everything.
template <class App> int runBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
