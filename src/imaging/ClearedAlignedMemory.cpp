#include "imaging/ClearedAlignedMemory.h"

#include <dlfcn.h>

#include <atomic>
#include <cstddef>
#include <cstring>

namespace {

// How many ClearedAlignedMemory are alive, on any thread: the decoder may allocate on threads
// of its own.
std::atomic<int> clearing{0};

using PosixMemalign = int (*)(void**, std::size_t, std::size_t);

PosixMemalign system() {
    static const auto next = reinterpret_cast<PosixMemalign>(dlsym(RTLD_NEXT, "posix_memalign"));
    return next;
}

}  // namespace

// Takes the place of the C library's posix_memalign in the whole program (any sanitizer's
// included, which it calls in turn), and clears the block when asked to.
extern "C" int posix_memalign(void** memory, std::size_t alignment, std::size_t size) {
    const PosixMemalign next = system();
    if (!next) return 12;  // ENOMEM: no allocator to hand on to
    const int result = next(memory, alignment, size);
    if (result == 0 && *memory && clearing.load(std::memory_order_acquire) > 0) {
        std::memset(*memory, 0, size);
    }
    return result;
}

namespace tessel {

ClearedAlignedMemory::ClearedAlignedMemory() {
    clearing.fetch_add(1, std::memory_order_acq_rel);
}

ClearedAlignedMemory::~ClearedAlignedMemory() {
    clearing.fetch_sub(1, std::memory_order_acq_rel);
}

}  // namespace tessel
