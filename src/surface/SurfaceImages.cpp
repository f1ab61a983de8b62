// Copies, stretches, pictures and pixel blocks.

#include <QPainter>
#include <cstring>
#include <limits>

#include "surface/Surface.h"

namespace tessel {

namespace {

constexpr int kBlockHeader = 8;

void writeInt32(char* out, std::int32_t value) {
    const auto bits = std::uint32_t(value);
    for (int i = 0; i < 4; ++i) out[i] = char((bits >> (8 * i)) & 0xFF);
}

std::int32_t readInt32(const char* in) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= std::uint32_t(std::uint8_t(in[i])) << (8 * i);
    return std::int32_t(bits);
}

// Draws a picture with its transparency over the image.
void compose(QImage& image, const QImage& picture, const QPoint& at) {
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(at, picture);
}

}  // namespace

// ---- copies ----------------------------------------------------------------------------

void Surface::copyFrom(const Surface& source, const QRect& sourceRect, const QPoint& target) {
    copyFrom(source.image(), sourceRect, target);
}

void Surface::copyFrom(const QImage& source, const QRect& sourceRect, const QPoint& target) {
    if (image_.isNull() || source.isNull()) return;
    // Clip the source rectangle to the source, then the destination to this surface, moving
    // the other side along.
    QRect from = sourceRect.normalized() & source.rect();
    if (from.isEmpty()) return;
    QPoint to = target + (from.topLeft() - sourceRect.normalized().topLeft());
    const QRect placed = QRect(to, from.size()) & image_.rect();
    if (placed.isEmpty()) return;
    from = QRect(from.topLeft() + (placed.topLeft() - to), placed.size());
    to = placed.topLeft();
    // A detached copy keeps copies of a surface onto itself correct.
    const QImage pixels = source.copy(from).convertToFormat(QImage::Format_RGB32);
    markDirty(placed);
    for (int y = 0; y < pixels.height(); ++y) {
        std::memcpy(image_.scanLine(to.y() + y) + std::size_t(to.x()) * 4, pixels.constScanLine(y),
                    std::size_t(pixels.width()) * 4);
    }
}

void Surface::stretchFrom(const Surface& source, const QRect& sourceRect, const QRect& targetRect) {
    if (image_.isNull() || source.isNull()) return;
    const QRect from = sourceRect.normalized();
    const QRect to = targetRect.normalized();
    if (from.isEmpty() || to.isEmpty() || (from & source.image().rect()).isEmpty()) return;
    if ((to & image_.rect()).isEmpty()) return;
    // Negative extents mirror, as with the classic stretch.
    const bool mirrorX = (sourceRect.width() < 0) != (targetRect.width() < 0);
    const bool mirrorY = (sourceRect.height() < 0) != (targetRect.height() < 0);
    QImage pixels = source.image().copy(from).scaled(to.size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation);
    if (pixels.isNull()) return;
    if (mirrorX || mirrorY) pixels = pixels.mirrored(mirrorX, mirrorY);
    copyFrom(pixels, pixels.rect(), to.topLeft());
}

// ---- pictures and icons ----------------------------------------------------------------

void Surface::drawPicture(const QImage& picture, const QRect& target) {
    if (image_.isNull() || picture.isNull() || target.width() <= 0 || target.height() <= 0) return;
    if ((target & image_.rect()).isEmpty()) return;
    const QImage scaled =
        picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
            .scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) return;
    markDirty(target);
    compose(image_, scaled, target.topLeft());
}

// ---- pixel blocks ----------------------------------------------------------------------

QByteArray Surface::pixelBlock() const {
    const qint64 pixels = qint64(width()) * height();
    const qint64 length = kBlockHeader + 4 * pixels;
    if (length > std::numeric_limits<int>::max()) return {};
    QByteArray block(qsizetype(length), '\0');
    char* out = block.data();
    writeInt32(out, width());
    writeInt32(out + 4, height());
    out += kBlockHeader;
    for (int y = 0; y < height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        for (int x = 0; x < width(); ++x) {
            out[0] = char(qBlue(row[x]));
            out[1] = char(qGreen(row[x]));
            out[2] = char(qRed(row[x]));
            out[3] = 0;
            out += 4;
        }
    }
    return block;
}

bool Surface::setPixelBlock(const QByteArray& block) {
    if (image_.isNull() || block.size() < kBlockHeader) return false;
    const char* in = block.constData();
    if (readInt32(in) != width() || readInt32(in + 4) != height()) return false;
    if (qint64(block.size()) != kBlockHeader + 4 * qint64(width()) * height()) return false;
    in += kBlockHeader;
    markDirty(image_.rect());
    for (int y = 0; y < height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < width(); ++x) {
            row[x] = qRgb(std::uint8_t(in[2]), std::uint8_t(in[1]), std::uint8_t(in[0]));
            in += 4;
        }
    }
    return true;
}

}  // namespace tessel
