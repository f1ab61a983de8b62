// How long a texture takes to make. BM_EveryTexture makes each of the 100 at its full size (about
// 1333 x 1000). BM_Texture makes the slowest families both ways a row can be filled: through the
// processor's vectors (wide = 1, the program's own choice on a processor with AVX2) and one
// value at a time (wide = 0), which is the baseline a figure is compared with in the same run.
// BM_SelectorCorner is one step of the texture selector: the 495 x 398 corner it shows. Run
// under `taskset -c 0` for the figures on one core.
//
// `bench_textures --digests [--plain]` prints, instead of timing, the SHA-1 of the pixels of
// every texture at its full size, one line each, so that a change meant to make textures faster
// can be shown to leave every pixel as it was (compare with bench/texture_digests.txt).

#include <QCryptographicHash>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

#include "textures/Rows.h"
#include "textures/Textures.h"

namespace {

void BM_Texture(benchmark::State& state) {
    const int number = int(state.range(0));
    const bool wide = state.range(1) != 0;
    tessel::textures::setWideVectors(wide);
    for (auto _ : state) {
        const QImage texture = tessel::textures::makeTexture(number);
        benchmark::DoNotOptimize(texture.constBits());
    }
    tessel::textures::setWideVectors(true);
    state.SetLabel(tessel::textures::textureFamily(number).toStdString() +
                   (wide ? " wide" : " plain"));
}
BENCHMARK(BM_Texture)
    ->ArgsProduct({{24, 49, 51, 63, 92, 47, 97}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SelectorCorner(benchmark::State& state) {
    const int number = int(state.range(0));
    for (auto _ : state) {
        const QImage corner = tessel::textures::makeTextureCorner(number, QSize(495, 398));
        benchmark::DoNotOptimize(corner.constBits());
    }
    state.SetLabel(tessel::textures::textureFamily(number).toStdString());
}
BENCHMARK(BM_SelectorCorner)
    ->Arg(24)
    ->Arg(49)
    ->Arg(97)
    ->Arg(99)
    ->Arg(92)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_EveryTexture(benchmark::State& state) {
    const int number = int(state.range(0));
    for (auto _ : state) {
        const QImage texture = tessel::textures::makeTexture(number);
        benchmark::DoNotOptimize(texture.constBits());
    }
    state.SetLabel(tessel::textures::textureFamily(number).toStdString());
}
BENCHMARK(BM_EveryTexture)->DenseRange(1, 100)->Unit(benchmark::kMillisecond)->UseRealTime();

int printDigests(bool plain) {
    tessel::textures::setWideVectors(!plain);
    for (int number = 1; number <= 100; ++number) {
        const QImage texture = tessel::textures::makeTexture(number);
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (int y = 0; y < texture.height(); ++y)
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(texture.constScanLine(y)),
                                        qsizetype(texture.width()) * 4));
        std::printf("%03d %dx%d %s\n", number, texture.width(), texture.height(),
                    hash.result().toHex().constData());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--digests") == 0)
        return printDigests(argc == 3 && std::strcmp(argv[2], "--plain") == 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
