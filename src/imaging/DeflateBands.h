#pragma once
// One zlib stream (RFC 1950) compressed by several threads at once: the data comes in pieces,
// each piece is made and compressed with libdeflate on a thread of its own, and the raw
// deflate streams are joined into a single one.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tessel {

// Leaves the bytes of a resized buffer unset: they are written right after.
template <class T>
struct UnsetAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    template <class U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};
using ByteBuffer = std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>>;

// Fills `bytes` with piece `index` of the data; false when it cannot.
using PieceMaker = std::function<bool(int index, ByteBuffer& bytes)>;

// The zlib stream of the concatenation of pieces 0 .. count - 1, as parts whose concatenation
// is the stream (the header, one part per piece, the Adler-32 trailer). Nothing when a piece
// cannot be made or memory runs out. count >= 1.
std::optional<std::vector<ByteBuffer>> compressPieces(int count, int level, const PieceMaker& make);

// Makes a complete raw deflate stream continuable: its last block loses its final-block bit
// and an empty stored block follows it, so it ends on a byte boundary and another stream's
// blocks may follow. The last block is found by walking the stream's blocks with zlib. False,
// with the stream unchanged, when it is no complete deflate stream.
bool makeContinuable(ByteBuffer& stream);

}  // namespace tessel
