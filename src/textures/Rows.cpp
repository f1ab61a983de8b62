#include "textures/Rows.h"

#include <atomic>

namespace tessel::textures {

namespace {

bool processorHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

std::atomic<bool>& wide() {
    static std::atomic<bool> on{processorHasAvx2()};
    return on;
}

}  // namespace

bool wideVectors() {
    return wide().load(std::memory_order_relaxed);
}

void setWideVectors(bool on) {
    wide().store(on && processorHasAvx2(), std::memory_order_relaxed);
}

}  // namespace tessel::textures
