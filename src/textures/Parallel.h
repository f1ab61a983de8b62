#pragma once
// Spreads work over rows across every core.

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace tessel::textures {

// Runs work(firstRow, endRow) over bands of rows on every core (at most eight threads); returns
// when all rows are done. Each row is given to exactly one call.
template <typename Work>
void forEachBand(int rows, Work work, int band = 16) {
    if (rows <= 0) return;
    const int bands = (rows + band - 1) / band;
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::min(8, bands));
    std::atomic<int> next{0};
    auto run = [&] {
        for (int b = next++; b < bands; b = next++) work(b * band, std::min(rows, (b + 1) * band));
    };
    std::vector<std::thread> helpers;
    helpers.reserve(std::size_t(threads - 1));
    for (int i = 1; i < threads; ++i) helpers.emplace_back(run);
    run();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace tessel::textures
