#include "page/Paper.h"

#include "platform/BuiltinPictures.h"
#include "platform/LongWork.h"
#include "platform/Services.h"
#include "surface/Numbers.h"

namespace tessel {

QString paperSizeMessage() {
    return QStringLiteral(
        "El tamaño del papel no puede ser superior a : \r\n"
        "318 x 238 milimetros\r\n"
        " ni tampoco puede ser menor de 10 x 10 milimetros");
}

bool paperSizeAllowed(int widthMm, int heightMm) {
    return widthMm >= kPaperMinMm && widthMm <= kPaperMaxWidthMm && heightMm >= kPaperMinMm &&
           heightMm <= kPaperMaxHeightMm;
}

std::optional<Surface> CreatePaper(const PaperSettings& paper) {
    if (!paperSizeAllowed(paper.widthMm, paper.heightMm)) {
        platform::inform(paperSizeMessage());
        return std::nullopt;
    }
    const int width = millimetresToPixels(paper.widthMm);
    const int height = millimetresToPixels(paper.heightMm);
    Surface canvas(width, height);
    // The ground first: it stays visible wherever a texture is smaller than the paper.
    canvas.clear(paper.paperColour);
    if (paper.useTexture == 1) {
        // Making a texture may take a while: it is made on the long-work thread, which holds
        // only the texture it makes.
        QImage texture;
        platform::runLongWork(QStringLiteral("Creando papel ..."),
                              [&texture, number = paper.textureNumber] {
                                  texture = platform::texturePicture(number);
                              });
        const QRect part = QRect(0, 0, width, height).intersected(texture.rect());
        if (!part.isEmpty()) canvas.copyFrom(texture, part, QPoint(0, 0));
    }
    return canvas;
}

}  // namespace tessel
