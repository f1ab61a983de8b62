#pragma once
// The main of a benchmark that paints with Qt: Qt's offscreen platform unless another is set,
// then every benchmark of the program.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace bench {

inline int runOnOffscreenPlatform(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
