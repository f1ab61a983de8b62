#include "history/Turn.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

#include "textures/Parallel.h"

namespace tessel {
namespace {

using Pixel = std::uint32_t;

// A quarter turn goes through the target a band of kBand rows at a time, each band in blocks of
// kBlock columns: a block reads kBlock rows of kBand source pixels (four cache lines each) and
// writes kBand rows of kBlock pixels, all of it in the first-level cache. The source rows are
// far apart, so no prefetcher of the processor sees where the reading goes next: the rows
// kAhead further on are asked for ahead of time.
constexpr int kBand = 64;
constexpr int kBlock = 64;
constexpr int kAhead = 16;

// The pixels of a picture as the worker threads see them: taken once, before they start, so that
// no thread detaches or counts anything in the QImage.
struct Pixels {
    uchar* bits;
    qsizetype rowBytes;
    int width, height;

    explicit Pixels(QImage& image)
        : bits(image.bits()),
          rowBytes(image.bytesPerLine()),
          width(image.width()),
          height(image.height()) {}
    explicit Pixels(const QImage& image)
        : bits(const_cast<uchar*>(image.constBits())),
          rowBytes(image.bytesPerLine()),
          width(image.width()),
          height(image.height()) {}
    Pixel* row(int y) const { return reinterpret_cast<Pixel*>(bits + y * rowBytes); }
};

// Target pixel (x, y) of a quarter turn: source (y, H-1-x) turning right, (W-1-y, x) turning
// left, for a source of W x H.
Pixel sourcePixel(const Pixels& source, bool right, int x, int y) {
    return right ? source.row(source.height - 1 - x)[y] : source.row(x)[source.width - 1 - y];
}

// Target rows [top, bottom) and columns [left, right) pixel by pixel.
void turnArea(const Pixels& source, bool right, const Pixels& target, int top, int bottom, int left,
              int end) {
    for (int y = top; y < bottom; ++y) {
        Pixel* out = target.row(y);
        for (int x = left; x < end; ++x) out[x] = sourcePixel(source, right, x, y);
    }
}

#if defined(__SSE2__)
// Target rows [top, bottom) and columns [left, end), both spans a multiple of four long, four by
// four: four runs of four source pixels, transposed. Turning right, target (x+i, y+j) is source
// (y+j, H-1-x-i), so target columns x..x+3 come from source rows H-1-x down to H-4-x; turning
// left, target (x+i, y+j) is source (W-1-y-j, x+i), rows x..x+3 read from right to left.
void turnBlock(const Pixels& source, bool right, const Pixels& target, int top, int bottom,
               int left, int end) {
    const qsizetype stride = target.rowBytes / qsizetype(sizeof(Pixel));
    for (int x = left; x < end; x += 4) {
        const Pixel* rows[4];
        for (int i = 0; i < 4; ++i) {
            rows[i] = right ? source.row(source.height - 1 - x - i) + top
                            : source.row(x + i) + (source.width - 4 - top);
        }
        const qsizetype step = right ? 4 : -4;
        if (x + kAhead + 4 <= source.height) {
            for (int i = 0; i < 4; ++i) {
                const auto* ahead = reinterpret_cast<const char*>(
                    right ? source.row(source.height - 1 - x - kAhead - i) + top
                          : source.row(x + kAhead + i) + (source.width - 4 - top));
                for (int k = 0; k < (bottom - top) * 4; k += 64) {
                    _mm_prefetch(ahead + (right ? k : 12 - k), _MM_HINT_T0);
                }
            }
        }
        Pixel* out = target.row(top) + x;
        for (int y = top; y < bottom; y += 4) {
            const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[0]));
            const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[1]));
            const __m128i a2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2]));
            const __m128i a3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[3]));
            for (const Pixel*& row : rows) row += step;
            const __m128i t0 = _mm_unpacklo_epi32(a0, a1);  // a0[0] a1[0] a0[1] a1[1]
            const __m128i t1 = _mm_unpacklo_epi32(a2, a3);  // a2[0] a3[0] a2[1] a3[1]
            const __m128i t2 = _mm_unpackhi_epi32(a0, a1);  // a0[2] a1[2] a0[3] a1[3]
            const __m128i t3 = _mm_unpackhi_epi32(a2, a3);
            // c[m] holds a0[m] a1[m] a2[m] a3[m]: source column m of the four runs.
            __m128i c[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                            _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
            if (!right) std::swap(c[0], c[3]), std::swap(c[1], c[2]);
            for (int j = 0; j < 4; ++j) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j * stride), c[j]);
            }
            out += 4 * stride;
        }
    }
}
#endif

// Target rows [top, bottom), kBand of them at most.
void turnBand(const Pixels& source, bool right, const Pixels& target, int top, int bottom) {
    const int width = target.width;
#if defined(__SSE2__)
    constexpr int group = 4;
    const int fullRows = top + (bottom - top) / group * group;
    const int fullColumns = width / group * group;
    for (int left = 0; left < fullColumns; left += kBlock) {
        const int end = std::min(fullColumns, left + kBlock);
        turnBlock(source, right, target, top, fullRows, left, end);
    }
    turnArea(source, right, target, top, fullRows, fullColumns, width);
    turnArea(source, right, target, fullRows, bottom, 0, width);
#else
    for (int left = 0; left < width; left += kBlock) {
        turnArea(source, right, target, top, bottom, left, std::min(width, left + kBlock));
    }
#endif
}

// Swaps left[i] with rightEnd[-1-i] for i in [0, count): the two runs change places reversed.
void swapReversed(Pixel* left, Pixel* rightEnd, int count) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4) {
        auto* l = reinterpret_cast<__m128i*>(left + i);
        auto* r = reinterpret_cast<__m128i*>(rightEnd - 4 - i);
        const __m128i a = _mm_loadu_si128(l);
        const __m128i b = _mm_loadu_si128(r);
        _mm_storeu_si128(l, _mm_shuffle_epi32(b, 0x1B));
        _mm_storeu_si128(r, _mm_shuffle_epi32(a, 0x1B));
    }
#endif
    for (; i < count; ++i) std::swap(left[i], rightEnd[-1 - i]);
}

}  // namespace

Turn inverse(Turn turn) {
    switch (turn) {
        case Turn::Right:
            return Turn::Left;
        case Turn::Left:
            return Turn::Right;
        default:
            return turn;
    }
}

QSize turnedSize(Turn turn, QSize size) {
    return isQuarterTurn(turn) ? size.transposed() : size;
}

QPoint turnedPoint(Turn turn, QPoint p, QSize size) {
    const int w = size.width(), h = size.height();
    switch (turn) {
        case Turn::Right:
            return {h - 1 - p.y(), p.x()};
        case Turn::Left:
            return {p.y(), w - 1 - p.x()};
        case Turn::Half:
            return {w - 1 - p.x(), h - 1 - p.y()};
        case Turn::Horizontal:
            return {w - 1 - p.x(), p.y()};
        case Turn::Vertical:
            return {p.x(), h - 1 - p.y()};
        case Turn::None:
            break;
    }
    return p;
}

void quarterTurn(const QImage& source, Turn turn, QImage& target) {
    if (!isQuarterTurn(turn) || source.isNull() || target.size() != source.size().transposed()) {
        return;
    }
    const bool right = turn == Turn::Right;
    const Pixels from(source);
    const Pixels to(target);
    textures::forEachBand(
        to.height, [&](int top, int bottom) { turnBand(from, right, to, top, bottom); }, kBand);
}

void turnInPlace(QImage& picture, Turn turn) {
    if (picture.isNull() || isQuarterTurn(turn) || turn == Turn::None) return;
    const Pixels image(picture);
    const int w = image.width, h = image.height;
    switch (turn) {
        case Turn::Horizontal:
            textures::forEachBand(h, [&](int top, int bottom) {
                for (int y = top; y < bottom; ++y)
                    swapReversed(image.row(y), image.row(y) + w, w / 2);
            });
            break;
        case Turn::Vertical:
            textures::forEachBand(h / 2, [&](int top, int bottom) {
                for (int y = top; y < bottom; ++y) {
                    std::swap_ranges(image.row(y), image.row(y) + w, image.row(h - 1 - y));
                }
            });
            break;
        case Turn::Half:
            // Row y and row H-1-y change places, each reversed; an odd middle row is reversed.
            textures::forEachBand((h + 1) / 2, [&](int top, int bottom) {
                for (int y = top; y < bottom; ++y) {
                    Pixel* row = image.row(y);
                    Pixel* mirror = image.row(h - 1 - y);
                    if (row == mirror) {
                        swapReversed(row, row + w, w / 2);
                    } else {
                        swapReversed(row, mirror + w, w);
                    }
                }
            });
            break;
        default:
            break;
    }
}

}  // namespace tessel
