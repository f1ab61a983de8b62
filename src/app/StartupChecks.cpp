#include "app/StartupChecks.h"

#include <QImageReader>
#include <QImageWriter>

namespace tessel {

std::optional<QString> screenSizeMessage(QSize screen) {
    if (screen.width() >= kMinimumScreenWidth && screen.height() >= kMinimumScreenHeight) {
        return std::nullopt;
    }
    return QStringLiteral("Este programa necesita una resolucion de pantalla de : ") +
           QString::number(kMinimumScreenWidth) + u'x' + QString::number(kMinimumScreenHeight) +
           QStringLiteral(" o superior ") + QStringLiteral("\r\n") +
           QStringLiteral("Tu pantalla tiene una resolucion de : ") +
           QString::number(screen.width()) + u'x' + QString::number(screen.height()) +
           QStringLiteral("\r\n") +
           QStringLiteral("Sintiendolo mucho me veo obligado a cerrar el programa ...");
}

QStringList missingImageFormats() {
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    struct Format {
        const char* name;
        QByteArray key;
        bool written;
    };
    const Format formats[] = {{"PNG", "png", true},
                              {"JPEG", "jpeg", true},
                              {"GIF", "gif", false},
                              {"TIFF", "tiff", true},
                              {"BMP", "bmp", true}};
    QStringList missing;
    for (const Format& f : formats) {
        if (!readable.contains(f.key) || (f.written && !writable.contains(f.key))) {
            missing << QString::fromLatin1(f.name);
        }
    }
    return missing;
}

QString codecFailureMessage(const QStringList& missing) {
    return QStringLiteral("Error inicializando los formatos de imagen ... (falta: ") +
           missing.join(QStringLiteral(", ")) + QStringLiteral(")");
}

}  // namespace tessel
