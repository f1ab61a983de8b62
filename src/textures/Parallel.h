#pragma once
// Spreads work over rows across every core.

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tessel::textures {

// The cores this process may run on (fewer than the machine has under `taskset` or a container's
// limit; a second thread on the same core would only take turns with the first).
inline int usableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return std::max(1, int(std::thread::hardware_concurrency()));
}

// Makes the calling thread's vector registers clean for plain SSE arithmetic. Library code that
// uses wider vectors can leave the upper halves of the registers marked as in use; until they
// are cleared, every SSE instruction of the thread pays for merging them. (Here the generators
// ran 2.7 times slower on the thread that had made the picture than on a fresh one.) A new
// thread starts clean.
inline void cleanVectorState() {
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx")) asm volatile("vzeroupper");
#endif
}

// Runs work(firstRow, endRow) over bands of rows on every usable core (at most eight threads);
// returns when all rows are done. Each row is given to exactly one call. When a call throws, no
// new band starts; once every thread has ended, the first exception thrown reaches the caller.
// Without threads to be had (the system refuses to make one), the calling thread does the work.
template <typename Work>
void forEachBand(int rows, Work work, int band = 16) {
    if (rows <= 0) return;
    const int bands = (rows + band - 1) / band;
    const int threads = std::clamp(usableCores(), 1, std::min(8, bands));
    std::atomic<int> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto run = [&] {
        cleanVectorState();
        try {
            for (int b = next++; b < bands; b = next++) {
                work(b * band, std::min(rows, (b + 1) * band));
            }
        } catch (...) {
            next = bands;
            const std::lock_guard lock(failureLock);
            if (!failure) failure = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(std::size_t(threads - 1));
        for (int i = 1; i < threads; ++i) helpers.emplace_back(run);
    } catch (const std::exception&) {
        // Fewer helpers than wanted: those that started and this thread share the bands.
    }
    run();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tessel::textures
