#pragma once
// Filling a row of values from a function of the position, with the processor's widest vectors
// when it has them. The sampled grids and the generators' rows go through here: where the
// function compiles to straight-line arithmetic, the compiler turns the loop into eight
// positions per instruction (AVX2). The results are the same bits either way: every operation
// is the same IEEE operation in the same order, only several lanes at a time (the library is
// built without fused multiply-add or any reassociation).

#include <algorithm>
#include <cstring>

// For the functions given to fillRow() (through Grid and the families' rows): forced inline, so
// that the loop holds all of their arithmetic and can be vectorised.
#define TESSEL_ROW_INLINE __attribute__((always_inline))

namespace tessel::textures {

// Whether rows use AVX2; false on a processor without it. setWideVectors(false) makes every
// row take the plain path (for comparing the two); setWideVectors(true) is ignored where the
// processor lacks AVX2.
bool wideVectors();
void setWideVectors(bool on);

namespace detail {

// The values go to a buffer on the stack first, a stretch at a time: the compiler can then see
// that storing them changes none of the tables the function reads, and keeps those tables'
// addresses in registers instead of reading them again for every value.
template <typename F>
[[gnu::always_inline]] inline void fillRowBody(float* out, int count, int step, float y,
                                               const F& f) {
    constexpr int kStretch = 256;
    float buffer[kStretch];
    for (int start = 0; start < count; start += kStretch) {
        const int n = std::min(kStretch, count - start);
        for (int i = 0; i < n; ++i) buffer[i] = f(float((start + i) * step) + 0.5f, y);
        std::memcpy(out + start, buffer, std::size_t(n) * sizeof(float));
    }
}

#if defined(__x86_64__) || defined(__i386__)
template <typename F>
__attribute__((target("avx2"), flatten)) void fillRowWide(float* out, int count, int step, float y,
                                                          const F& f) {
    fillRowBody(out, count, step, y, f);
}
#endif

template <typename F>
__attribute__((flatten)) void fillRowPlain(float* out, int count, int step, float y, const F& f) {
    fillRowBody(out, count, step, y, f);
}

}  // namespace detail

// out[i] = f(i * step + 0.5, y) for i in [0, count): the pixel centres of every step-th column
// of the row at y.
template <typename F>
void fillRow(float* out, int count, int step, float y, const F& f) {
#if defined(__x86_64__) || defined(__i386__)
    if (wideVectors()) {
        detail::fillRowWide(out, count, step, y, f);
        return;
    }
#endif
    detail::fillRowPlain(out, count, step, y, f);
}

}  // namespace tessel::textures
