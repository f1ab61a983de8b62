#include "imaging/DeflateBands.h"

#include <libdeflate.h>
#include <zlib.h>

#include <memory>
#include <new>
#include <thread>

namespace tessel {

bool makeContinuable(ByteBuffer& stream) {
    z_stream walker{};
    if (inflateInit2(&walker, -MAX_WBITS) != Z_OK) return false;
    const std::unique_ptr<z_stream, int (*)(z_stream*)> owner(&walker, inflateEnd);
    walker.next_in = stream.data();
    walker.avail_in = uInt(stream.size());
    if (walker.avail_in != stream.size()) return false;  // beyond zlib's 32-bit counts
    std::uint8_t discard[1 << 16];
    std::uint64_t blockStart = 0;  // the bit where the block being decoded began
    std::uint64_t lastBlockStart = 0;
    std::uint64_t end = 0;  // the bit after the last block's end code
    bool ended = false;
    for (;;) {
        walker.next_out = discard;
        walker.avail_out = sizeof discard;
        const int result = inflate(&walker, Z_BLOCK);
        if (result == Z_STREAM_END) break;
        if (result != Z_OK) return false;
        // On a block boundary zlib tells how many bits of the bytes it took are still unread.
        if ((walker.data_type & 128) != 0) {
            const std::uint64_t bit = std::uint64_t(walker.next_in - stream.data()) * 8 -
                                      std::uint64_t(walker.data_type & 7);
            if ((walker.data_type & 64) != 0) {
                lastBlockStart = blockStart;
                end = bit;
                ended = true;
            } else {
                blockStart = bit;
            }
        }
    }
    if (!ended || walker.avail_in != 0 || (end + 7) / 8 != stream.size()) return false;
    stream[lastBlockStart / 8] &= std::uint8_t(~(1u << (lastBlockStart % 8)));
    // The stored block's three header bits (not final, stored) are zeros: they go in the unused
    // top bits of the last byte when there are three, else in a byte of their own.
    const unsigned used = unsigned(end % 8);
    if (used != 0) stream.back() &= std::uint8_t((1u << used) - 1);
    if (used == 0 || used > 5) stream.push_back(0);
    for (const std::uint8_t b : {0x00, 0x00, 0xFF, 0xFF}) stream.push_back(b);  // length 0
    return true;
}

namespace {

struct Piece {
    ByteBuffer deflated;
    std::uint32_t adler = 1;
    std::size_t size = 0;
    bool done = false;
};

// Makes and compresses one piece; the last one stays final, the others become continuable.
void compressPiece(int index, bool last, int level, const PieceMaker& make, Piece& piece) {
    try {
        ByteBuffer bytes;
        if (!make(index, bytes)) return;
        piece.adler = libdeflate_adler32(1, bytes.data(), bytes.size());
        piece.size = bytes.size();
        const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
            libdeflate_alloc_compressor(level), libdeflate_free_compressor);
        if (!compressor) return;
        piece.deflated.resize(libdeflate_deflate_compress_bound(compressor.get(), bytes.size()));
        const std::size_t size =
            libdeflate_deflate_compress(compressor.get(), bytes.data(), bytes.size(),
                                        piece.deflated.data(), piece.deflated.size());
        if (size == 0) return;
        piece.deflated.resize(size);
        bytes = {};
        piece.done = last || makeContinuable(piece.deflated);
    } catch (const std::bad_alloc&) {
        piece.done = false;
    }
}

// The header's level field as zlib and libdeflate set it: fastest, fast, default, best.
std::uint8_t levelField(int level) {
    if (level < 2) return 0;
    if (level < 6) return 1;
    if (level == 6) return 2;
    return 3;
}

}  // namespace

std::optional<std::vector<ByteBuffer>> compressPieces(int count, int level,
                                                      const PieceMaker& make) {
    std::vector<Piece> pieces(std::size_t(count > 0 ? count : 0));
    if (pieces.empty()) return std::nullopt;
    {
        std::vector<std::jthread> helpers;
        try {
            for (int i = 0; i + 1 < count; ++i) {
                helpers.emplace_back(
                    [&, i] { compressPiece(i, false, level, make, pieces[std::size_t(i)]); });
            }
        } catch (const std::system_error&) {
            return std::nullopt;  // the threads started so far are joined on the way out
        }
        compressPiece(count - 1, true, level, make, pieces.back());
    }
    std::vector<ByteBuffer> parts;
    parts.reserve(pieces.size() + 2);
    // Deflate with a 32 KiB window; the check bits make the two bytes a multiple of 31.
    const unsigned cmf = 0x78;
    unsigned flg = unsigned(levelField(level)) << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    parts.push_back({std::uint8_t(cmf), std::uint8_t(flg)});
    std::uint32_t adler = 1;
    for (Piece& piece : pieces) {
        if (!piece.done) return std::nullopt;
        adler = std::uint32_t(adler32_combine(adler, piece.adler, z_off_t(piece.size)));
        parts.push_back(std::move(piece.deflated));
    }
    parts.push_back({std::uint8_t(adler >> 24), std::uint8_t(adler >> 16), std::uint8_t(adler >> 8),
                     std::uint8_t(adler)});
    return parts;
}

}  // namespace tessel
