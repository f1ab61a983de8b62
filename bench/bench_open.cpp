// Opening a large photograph as the program does, against a plain decode of the same file with
// QImageReader, both measured in the same run; and the memory the opening needs at its peak, in
// pictures (width x height x 4 bytes).
//
//   bench_open [--benchmark_repetitions=5]
//
// The photograph is Debian's mate-backgrounds Elephants_5640x3172.jpg when installed, otherwise a
// photograph-like JPEG of the same size made here.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "imaging/CodecBridge.h"
#include "platform/Services.h"

namespace {

const char* const kPhotograph = "/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg";

class SilentMessages : public tessel::platform::MessageService {
  public:
    void inform(const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return true; }
};

QString photographFile() {
    if (QFile::exists(kPhotograph)) return kPhotograph;
    static QTemporaryDir dir;
    const QString file = dir.filePath("photo.jpg");
    if (QFile::exists(file)) return file;
    QImage picture(5640, 3172, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            row[x] = qRgb(int(128 + 100 * std::sin(x * 0.01)), int(128 + 90 * std::cos(y * 0.013)),
                          (x * 7 + y * 3) % 256);
        }
    }
    QImageWriter writer(file, "jpeg");
    writer.setQuality(90);
    writer.write(picture);
    return file;
}

void BM_PlainDecode(benchmark::State& state) {
    const QString file = photographFile();
    for (auto _ : state) {
        QImageReader reader(file);
        QImage picture = reader.read();
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_PlainDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenAsTheProgramDoes(benchmark::State& state) {
    const QString file = photographFile();
    for (auto _ : state) {
        std::optional<tessel::Surface> canvas =
            tessel::GraphicLoadImageFileToBitmap(file, 0, 0, 0, 0xFFFFFF);
        if (!canvas) state.SkipWithError("the photograph did not load");
        benchmark::DoNotOptimize(canvas);
    }
}
BENCHMARK(BM_OpenAsTheProgramDoes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The resident-set high-water mark of this process, in bytes.
long long peakResident() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    }
    return 0;
}

// Starts the high-water mark afresh at the current resident size.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The extra memory a load needs at its peak, counted in pictures of the photograph's size.
template <typename Load>
void peakMemory(benchmark::State& state, Load load) {
    const double pictureBytes = 5640.0 * 3172.0 * 4.0;
    double pictures = 0;
    for (auto _ : state) {
        resetPeak();
        const long long before = peakResident();
        load();
        pictures = double(peakResident() - before) / pictureBytes;
    }
    state.counters["peak_pictures"] = pictures;
}

void BM_PlainDecodePeakMemory(benchmark::State& state) {
    const QString file = photographFile();
    peakMemory(state, [&] {
        QImageReader reader(file);
        QImage picture = reader.read();
        benchmark::DoNotOptimize(picture.constBits());
    });
}
BENCHMARK(BM_PlainDecodePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenPeakMemory(benchmark::State& state) {
    const QString file = photographFile();
    peakMemory(state, [&] {
        std::optional<tessel::Surface> canvas =
            tessel::GraphicLoadImageFileToBitmap(file, 0, 0, 0, 0xFFFFFF);
        benchmark::DoNotOptimize(canvas);
    });
}
BENCHMARK(BM_OpenPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SilentMessages messages;
    tessel::platform::installServices({&messages, nullptr, nullptr});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
