#include "platform/BuiltinPictures.h"

#include <QRegularExpression>

#include "platform/Fonts.h"
#include "surface/Surface.h"
#include "textures/TextureCache.h"
#include "textures/Textures.h"

namespace tessel::platform {

namespace {

// Textures are large (about 5 MB each): keep the few used last.
constexpr int kKeptTextures = 4;
constexpr int kFirstTextureId = 701;
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

textures::TextureCache& textureCache() {
    static textures::TextureCache cache(kKeptTextures, textures::makeTexture);
    return cache;
}

// A corner of the selector's size is under 1 MB: keep enough for going back and forth.
constexpr int kKeptCorners = 16;

struct CornerCache {
    QSize extent;
    textures::TextureCache cache{kKeptCorners,
                                 [this](int n) { return textures::makeTextureCorner(n, extent); }};
};

QString iconFile(int size) {
    return QStringLiteral(":/tessel/icons/tessel-%1.png").arg(size);
}

}  // namespace

QImage texturePicture(int number) {
    if (number < 1 || number > kTextureCount) return QImage();
    return textureCache().get(number);
}

QImage textureCorner(int number, QSize extent) {
    if (number < 1 || number > kTextureCount || extent.isEmpty()) return QImage();
    if (textureCache().contains(number)) {
        const QImage whole = textureCache().get(number);
        return whole.copy(QRect(QPoint(0, 0), extent) & whole.rect());
    }
    static CornerCache corners;
    if (corners.extent != extent) {
        corners.cache.clear();
        corners.extent = extent;
    }
    return corners.cache.get(number);
}

QSize textureSize(int number) {
    return textures::textureSize(number);
}

QString textureResourceName(int number) {
    return QStringLiteral("#%1").arg(kFirstTextureId - 1 + number, 3, 10, QLatin1Char('0'));
}

QImage builtinPicture(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^#(\\d{1,4})$"));
    const auto match = pattern.match(name);
    if (!match.hasMatch()) return QImage();
    const int id = match.captured(1).toInt();
    if (id >= kFirstTextureId && id < kFirstTextureId + kTextureCount)
        return texturePicture(id - kFirstTextureId + 1);
    if (id == kPiecesPictureId) return piecesPicture();
    if (id == kWindowIconId) return QImage(iconFile(256)).convertToFormat(QImage::Format_RGB32);
    return QImage();
}

QImage piecesPicture() {
    constexpr int kWidth = 330, kHeight = 300, kBar = 6;
    Surface surface(kWidth, kHeight);
    surface.clear(0xFFFFFF);
    const int cx = kWidth / 2, cy = kHeight / 2;
    surface.box(cx - kBar / 2, 0, cx + kBar / 2, kHeight, 0, 0, 0, kFillSolid);
    surface.box(0, cy - kBar / 2, kWidth, cy + kBar / 2, 0, 0, 0, kFillSolid);

    FontRequest request;
    request.face = QStringLiteral("Arial");
    request.points = 48;
    request.style = kStyleBold;
    surface.selectFont(resolveFont(request));
    surface.setForeground(0);
    surface.setBackground(kTransparent);
    const QString letters[4] = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("d")};
    for (int quarter = 0; quarter < 4; ++quarter) {
        const QSize size = surface.measure(letters[quarter]);
        const int centreX = (quarter % 2 == 0) ? cx / 2 : cx + (kWidth - cx) / 2;
        const int centreY = (quarter < 2) ? cy / 2 : cy + (kHeight - cy) / 2;
        surface.moveTo(centreX - size.width() / 2, centreY - size.height() / 2);
        surface.print(letters[quarter]);
    }
    return surface.image();
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : kIconSizes) icon.addFile(iconFile(size), QSize(size, size));
    return icon;
}

}  // namespace tessel::platform
