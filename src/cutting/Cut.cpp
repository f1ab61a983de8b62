#include "cutting/Cut.h"

#include <QDir>
#include <algorithm>
#include <array>

#include "imaging/CodecBridge.h"
#include "platform/Services.h"

namespace tessel {

QRect pieceRectangle(int piece, int width, int height, int x, int y) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    x = std::clamp(x, 0, width);
    y = std::clamp(y, 0, height);
    const bool right = piece == 1 || piece == 3;
    const bool bottom = piece >= 2;
    const int left = right ? x : 0;
    const int top = bottom ? y : 0;
    const int pieceWidth = right ? width - x : x;
    const int pieceHeight = bottom ? height - y : y;
    return QRect(left, top, pieceWidth, pieceHeight);
}

void CutCanvas(const Surface& canvas, int width, int height, int x, int y,
               const CutSettings& settings, const QString& folder) {
    const QString extension = extensionOf(settings.formatChoice);
    const QDir target(folder.isEmpty() ? QDir::currentPath() : folder);
    const std::array<int, 4> ticked = {settings.savePieceA, settings.savePieceB,
                                       settings.savePieceC, settings.savePieceD};
    const QString cutCaption = platform::kCaption + QStringLiteral(" ...");

    for (int piece = 0; piece < 4; ++piece) {
        if (ticked[size_t(piece)] == 0) continue;
        const QChar letter(u'A' + piece);
        platform::services().messages->inform(cutCaption,
                                              QStringLiteral("Cortado trozo %1 ...").arg(letter));

        const QRect source = pieceRectangle(piece, width, height, x, y);
        if (source.isEmpty()) {
            platform::inform(QStringLiteral("El trozo %1 esta vacio, no se graba ...").arg(letter));
            continue;
        }
        Surface bitmap(source.width(), source.height());
        bitmap.copyFrom(canvas, source, QPoint(0, 0));
        SaveBitmapAsImageFile(bitmap,
                              target.filePath(QStringLiteral("Tessel%1").arg(letter) + extension));
    }
}

}  // namespace tessel
