// How long one texture of 1333 x 1000 takes to make, against a plain fill of a surface of the
// same size measured in the same run. Texture 24 is the default paper; 49 (terrazzo), 97 (cork)
// and 45 (cobblestones) are among the slowest families, 99 (cork) and 92 (clouds, 1582 wide) the
// slowest of all. BM_SelectorCorner is one step of the texture selector: the 495 x 398 corner
// it shows. Run under `taskset -c 0` for the figures on one core.

#include <benchmark/benchmark.h>

#include "surface/Surface.h"
#include "textures/Textures.h"

namespace {

void BM_PlainFill(benchmark::State& state) {
    tessel::Surface surface(1333, 1000);
    tessel::Colour colour = 0xF0E8D8;
    for (auto _ : state) {
        surface.clear(colour);
        colour ^= 0x010101;
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Texture(benchmark::State& state) {
    const int number = int(state.range(0));
    for (auto _ : state) {
        const QImage texture = tessel::textures::makeTexture(number);
        benchmark::DoNotOptimize(texture.constBits());
    }
    state.SetLabel(tessel::textures::textureFamily(number).toStdString());
}
BENCHMARK(BM_Texture)
    ->Arg(24)
    ->Arg(1)
    ->Arg(45)
    ->Arg(49)
    ->Arg(97)
    ->Arg(99)
    ->Arg(92)
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

}  // namespace

BENCHMARK_MAIN();
