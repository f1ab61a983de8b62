#include "imaging/AllocationProbe.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_PROBE_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_PROBE_HOOKS 1
#endif
#endif

#if defined(TESSEL_PROBE_HOOKS)
// AddressSanitizer's own allocator tells of every request (sanitizer/allocator_interface.h,
// which GCC does not install).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onRequest)(const volatile void*,
                                                                           std::size_t),
                                                         void (*onRelease)(const volatile void*));
#endif

namespace {

std::atomic<bool> watching{false};
std::atomic<std::size_t> limit{0};
std::atomic<std::size_t> largest{0};

// Records a request; false when it is to be refused.
bool admit(std::size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return true;
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
    return size <= limit.load(std::memory_order_relaxed);
}

}  // namespace

#if defined(TESSEL_PROBE_HOOKS)
namespace {
void recordRequest(const volatile void*, std::size_t size) {
    admit(size);
}
void recordRelease(const volatile void*) {}
[[maybe_unused]] const int installed =
    __sanitizer_install_malloc_and_free_hooks(recordRequest, recordRelease);
}  // namespace
#else
// glibc's own allocator under the names every library calls.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);

void* malloc(std::size_t size) noexcept {
    if (!admit(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    std::size_t total = 0;
    if (__builtin_mul_overflow(count, size, &total) || !admit(total)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
    if (!admit(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_realloc(block, size);
}
}
#endif

namespace tessel::testing {

AllocationProbe::AllocationProbe(std::size_t most) {
    largest = 0;
    limit = most;
    watching = true;
}

AllocationProbe::~AllocationProbe() {
    watching = false;
}

std::size_t AllocationProbe::largestRequest() const {
    return largest.load();
}

}  // namespace tessel::testing
