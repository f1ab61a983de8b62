#include "recovery/RecoveryCopy.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <limits>

#include "imaging/CodecBridge.h"
#include "imaging/PngWriter.h"
#include "platform/RegularFile.h"

namespace tessel::recovery {
namespace {

QString describe(const CopyDescription& d) {
    const QJsonObject paper{{QStringLiteral("widthMm"), d.paper.widthMm},
                            {QStringLiteral("heightMm"), d.paper.heightMm},
                            {QStringLiteral("colour"), qint64(d.paper.paperColour)},
                            {QStringLiteral("useTexture"), d.paper.useTexture},
                            {QStringLiteral("texture"), d.paper.textureNumber}};
    const QJsonObject object{
        {QStringLiteral("fileName"), d.fileName},
        {QStringLiteral("zeroX"), d.zero.x()},
        {QStringLiteral("zeroY"), d.zero.y()},
        {QStringLiteral("paper"), paper},
        {QStringLiteral("openedPicture"), d.openedPicture},
        {QStringLiteral("pid"), d.pid},
        {QStringLiteral("time"), d.time.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("width"), d.size.width()},
        {QStringLiteral("height"), d.size.height()},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A whole number of the object in [low, high], or nothing.
std::optional<qint64> number(const QJsonObject& object, const char* key, qint64 low, qint64 high) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble()) return std::nullopt;
    const double d = value.toDouble();
    if (!(d >= double(low) && d <= double(high)) || d != double(qint64(d))) return std::nullopt;
    return qint64(d);
}

std::optional<CopyDescription> parse(const QString& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonObject paper = object.value(QStringLiteral("paper")).toObject();
    const auto zeroX = number(object, "zeroX", 0, 1 << 20);
    const auto zeroY = number(object, "zeroY", 0, 1 << 20);
    const auto width = number(object, "width", 1, 1 << 20);
    const auto height = number(object, "height", 1, 1 << 20);
    const auto pid = number(object, "pid", 0, std::numeric_limits<int>::max());
    const auto widthMm = number(paper, "widthMm", -32768, 32767);
    const auto heightMm = number(paper, "heightMm", -32768, 32767);
    const auto colour = number(paper, "colour", 0, 0xFFFFFF);
    const auto useTexture = number(paper, "useTexture", 0, 1);
    const auto texture = number(paper, "texture", -32768, 32767);
    const QJsonValue fileName = object.value(QStringLiteral("fileName"));
    const QJsonValue opened = object.value(QStringLiteral("openedPicture"));
    const QDateTime time =
        QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (!zeroX || !zeroY || !width || !height || !pid || !widthMm || !heightMm || !colour ||
        !useTexture || !texture || !fileName.isString() || !opened.isBool() || !time.isValid()) {
        return std::nullopt;
    }
    CopyDescription d;
    d.fileName = fileName.toString();
    d.zero = QPoint(int(*zeroX), int(*zeroY));
    d.paper.widthMm = std::int16_t(*widthMm);
    d.paper.heightMm = std::int16_t(*heightMm);
    d.paper.paperColour = Colour(*colour);
    d.paper.useTexture = int(*useTexture);
    d.paper.textureNumber = std::int16_t(*texture);
    d.openedPicture = opened.toBool();
    d.pid = *pid;
    d.time = time.toUTC();
    d.size = QSize(int(*width), int(*height));
    return d;
}

std::optional<CopyDescription> descriptionIn(QIODevice& device) {
    QImageReader reader(&device, "png");
    const QString text = reader.text(kDescriptionKey);
    if (text.isEmpty()) return std::nullopt;
    return parse(text);
}

}  // namespace

std::optional<QByteArray> encodeCopy(const QImage& picture, const CopyDescription& description) {
    if (picture.isNull()) return std::nullopt;
    QImage described = picture;  // shares the pixels; the text makes no copy of them
    described.setText(kDescriptionKey, describe(description));
    return encodePng(described);
}

std::optional<CopyDescription> readCopyDescription(const QString& path) {
    if (!platform::isRegularFile(path)) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return descriptionIn(file);
}

std::optional<Copy> readCopy(const QString& path) {
    const std::optional<QByteArray> bytes = platform::readRegularFile(path);
    // A copy is written whole at once: one that does not end with its end chunk is damaged,
    // even where the pixels before it are all there.
    static const QByteArray kEnd = QByteArray::fromHex("0000000049454e44ae426082");
    if (!bytes || !bytes->endsWith(kEnd)) return std::nullopt;
    QByteArray data = *bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    std::optional<CopyDescription> description = descriptionIn(buffer);
    if (!description) return std::nullopt;
    std::optional<QImage> picture = decodePicture(*bytes);
    if (!picture || picture->size() != description->size) return std::nullopt;
    QImage pixels = picture->convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return std::nullopt;
    return Copy{std::move(pixels), std::move(*description)};
}

QString spokenTime(const QDateTime& time) {
    return QLocale(QLocale::Spanish, QLocale::Spain)
        .toString(time.toLocalTime(), QStringLiteral("d 'de' MMMM 'de' yyyy, HH:mm"));
}

QString recoveryQuestion(const QDateTime& time) {
    return QStringLiteral("Se ha encontrado una imagen que no se llegó a guardar (") +
           spokenTime(time) + QStringLiteral("). ¿Recuperarla?");
}

QString damagedCopyMessage(const QString& path) {
    return QStringLiteral(
               "La imagen que no se llegó a guardar está dañada y no se puede recuperar ...\r\n"
               "Se ha dejado en ") +
           path + QStringLiteral(" para que la pueda apartar.");
}

}  // namespace tessel::recovery
