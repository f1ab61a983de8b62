// Damaged-picture run: makes a few small pictures in every format the program reads (and an
// icon), damages each in a few hundred ways (truncations, bit flips, header fields changed),
// and passes every damaged file through the loader. One line per file on standard output:
//   name outcome width height hash
// where outcome is "refused" (the read-error message and nothing else), "loaded" (a picture
// and no message), or "ANOMALY:<what>". A summary goes to standard error. Run it twice with
// fresh memory filled differently (tools/mutation_run.sh) and compare the lines: a pixel taken
// from memory the decoder never wrote changes the hash.
//   mutate_pictures <work folder> [mutants per picture] [keep]
//   mutate_pictures --load <file>...  (each file's outcome and the hash of its pixels)

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <tiffio.h>

#include <libheif/heif.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "imaging/CodecBridge.h"
#include "imaging/GifWriter.h"
#include "imaging/IconFile.h"
#include "platform/Services.h"

using namespace tessel;

namespace {

class Recorder : public platform::MessageService {
  public:
    QStringList texts;
    void inform(const QString&, const QString& text) override { texts << text; }
    bool askYesNo(const QString&, const QString& text) override {
        texts << text;
        return false;
    }
};

QImage photo(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int noise = int(random() % 24);
            image.setPixel(x, y,
                           qRgb((x * 255 / width + noise) & 0xFF, (y * 255 / height) & 0xFF,
                                ((x ^ y) * 3 + noise) & 0xFF));
        }
    }
    return image;
}

QByteArray encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (qstrcmp(format, "tiff") == 0) writer.setCompression(1);
    writer.write(picture);
    return bytes;
}

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

// An 8-bit run-length BMP with runs, moves and literal pixels.
QByteArray rleBmp() {
    QByteArray runs;
    for (int row = 0; row < 16; ++row) {
        runs += QByteArray("\x05\x01\x00\x04\x02\x03\x01\x02\x06\x03", 10);
        if (row % 5 == 2) runs += QByteArray("\x00\x02\x03\x00", 4);  // a move
        runs += QByteArray("\x00\x00", 2);
    }
    runs += QByteArray("\x00\x01", 2);
    QByteArray info;
    for (const quint32 v : {40u, 24u, 16u}) appendLe(info, v, 4);
    appendLe(info, 1, 2);
    appendLe(info, 8, 2);
    for (const quint32 v : {1u, quint32(runs.size()), 2835u, 2835u, 4u, 0u}) appendLe(info, v, 4);
    const QByteArray palette("\xff\x00\x00\x00\x00\xff\x00\x00\x00\x00\xff\x00\x80\x80\x80\x00",
                             16);
    QByteArray file("BM");
    const quint32 offset = 14 + quint32(info.size() + palette.size());
    appendLe(file, offset + quint32(runs.size()), 4);
    appendLe(file, 0, 4);
    appendLe(file, offset, 4);
    return file + info + palette + runs;
}

// A BMP of every kind the reader takes: header size (12 core, 40, 108, 124), bits, coding,
// colours used and palette entries as given; masks for bit fields; pixels that vary.
QByteArray bmpOf(int header, int width, int height, int bits, quint32 coding, int used,
                 int entries) {
    QByteArray info;
    appendLe(info, quint32(header), 4);
    if (header == 12) {
        for (const int v : {width, height, 1, bits}) appendLe(info, quint32(v), 2);
    } else {
        appendLe(info, quint32(width), 4);
        appendLe(info, quint32(height), 4);
        appendLe(info, 1, 2);
        appendLe(info, quint32(bits), 2);
        for (const quint32 v : {coding, 0u, 2835u, 2835u, quint32(used), 0u}) appendLe(info, v, 4);
        const quint32 masks16[] = {0xF800, 0x07E0, 0x001F, 0};
        const quint32 masks32[] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
        const quint32* masks = bits == 16 ? masks16 : masks32;
        if (header >= 108) {
            for (int i = 0; i < 4; ++i) appendLe(info, masks[i], 4);
            while (info.size() < header) info.append('\0');
        } else if (coding == 3) {
            for (int i = 0; i < 3; ++i) appendLe(info, masks[i], 4);
        }
    }
    QByteArray palette;
    for (int i = 0; i < entries; ++i) {
        palette.append(char(i * 37)).append(char(255 - i * 11)).append(char(i * 5));
        if (header != 12) palette.append('\0');
    }
    QByteArray pixels;
    const int stride = ((width * bits + 31) / 32) * 4;
    std::mt19937 random(quint32(header * 7 + bits));
    for (int i = 0; i < stride * height; ++i) pixels.append(char(random() & 0xFF));
    QByteArray file("BM");
    const quint32 offset = 14 + quint32(info.size() + palette.size());
    appendLe(file, offset + quint32(pixels.size()), 4);
    appendLe(file, 0, 4);
    appendLe(file, offset, 4);
    return file + info + palette + pixels;
}

// A 4-bit run-length BMP with runs, moves and literal pixels (odd and even counts).
QByteArray rle4Bmp() {
    QByteArray runs;
    for (int row = 0; row < 12; ++row) {
        runs += QByteArray("\x05\x12\x00\x05\x34\x56\x70\x00\x03\xab", 10);
        if (row % 4 == 1) runs += QByteArray("\x00\x02\x02\x01", 4);  // a move
        runs += QByteArray("\x00\x00", 2);
    }
    runs += QByteArray("\x00\x01", 2);
    QByteArray file = bmpOf(40, 20, 14, 4, 2, 16, 16);
    file.truncate(file.size() - 14 * 12);  // the pixels give way to the runs
    return file + runs;
}

// A 16-bit RGB TIFF written with libtiff, its samples planar (one plane per colour, as
// "convert -depth 16 -interlace plane" writes them) or interleaved, in strips of a few rows.
QByteArray tiff16(const QString& path, const QImage& picture, bool planar, uint16_t compression) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr) return {};
    const int width = picture.width();
    const int height = picture.height();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(16));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG,
                 uint16_t(planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(5));
    const int perRow = planar ? 1 : 3;
    bool ok = true;
    for (int plane = 0; plane < (planar ? 3 : 1); ++plane) {
        for (int y = 0; y < height; ++y) {
            std::vector<uint16_t> row(size_t(width * perRow));
            for (int x = 0; x < width; ++x) {
                const QRgb p = picture.pixel(x, y);
                const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
                for (int s = 0; s < perRow; ++s)
                    row[size_t(x * perRow + s)] =
                        uint16_t(channels[planar ? plane : s] * 257 + (x * 7 + y) % 200);
            }
            ok = ok && TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane)) == 1;
        }
    }
    TIFFClose(tiff);
    QFile file(path);
    const QByteArray bytes = ok && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.remove();
    return bytes;
}

QByteArray icon(const QImage& picture) {
    QByteArray png = encoded(picture.convertToFormat(QImage::Format_ARGB32), "png");
    QByteArray file;
    appendLe(file, 0, 2);
    appendLe(file, 1, 2);
    appendLe(file, 1, 2);
    file.append(char(picture.width())).append(char(picture.height())).append('\0').append('\0');
    appendLe(file, 1, 2);
    appendLe(file, 32, 2);
    appendLe(file, quint32(png.size()), 4);
    appendLe(file, 22, 4);
    return file + png;
}

QByteArray webp(const QImage& picture, bool lossless) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    uint8_t* out = nullptr;
    const int stride = int(argb.bytesPerLine());
    const size_t size =
        lossless
            ? WebPEncodeLosslessBGRA(argb.constBits(), argb.width(), argb.height(), stride, &out)
            : WebPEncodeBGRA(argb.constBits(), argb.width(), argb.height(), stride, 80, &out);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    WebPFree(out);
    return bytes;
}

// Two frames, the second smaller than the canvas.
QByteArray animatedWebp(const QImage& first, const QImage& second) {
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(first.width(), first.height(), &options);
    WebPConfig config;
    WebPConfigInit(&config);
    int timestamp = 0;
    for (const QImage& frame : {first, second}) {
        const QImage argb = frame.convertToFormat(QImage::Format_ARGB32);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = argb.width();
        picture.height = argb.height();
        WebPPictureImportBGRA(&picture, argb.constBits(), int(argb.bytesPerLine()));
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    QByteArray bytes(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// A HEIC (HEVC) or AVIF (AV1) file of the picture, with its transparency when it has one.
QByteArray heif(const QImage& source, heif_compression_format coding) {
    const bool alpha = source.hasAlphaChannel();
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    heif_image* image = nullptr;
    heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
    int stride = 0;
    uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y) {
        uint8_t* out = rows + qsizetype(y) * stride;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            *out++ = uint8_t(qRed(p));
            *out++ = uint8_t(qGreen(p));
            *out++ = uint8_t(qBlue(p));
            if (alpha) *out++ = uint8_t(qAlpha(p));
        }
    }
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    QByteArray bytes;
    heif_writer writer{1, appendTo};
    if (heif_context_get_encoder_for_format(context, coding, &encoder).code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 80);
        if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code ==
            heif_error_Ok) {
            heif_context_write(context, &writer, &bytes);
        }
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    heif_image_release(image);
    return bytes;
}

// A picture with a transparent disc.
QImage withHole(const QImage& photo) {
    QImage picture = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((x - 20) * (x - 20) + (y - 14) * (y - 14) < 80) picture.setPixel(x, y, 0);
    return picture;
}

// For a BMP, a fifth kind: the data offset, the colours-used count or the header size set to
// a value the reader may take differently from what the file holds.
void damageBmpField(QByteArray& m, std::mt19937& random) {
    if (m.size() < 54) return;
    const auto put = [&m](int at, quint32 value) {
        for (int i = 0; i < 4; ++i) m[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    switch (random() % 3) {
        case 0:  // the data offset anywhere in the file, or just beyond it
            put(10, quint32(random() % quint32(m.size() + 8)));
            break;
        case 1:  // colours used from none to more than a palette holds
            put(46, quint32(random() % 300));
            break;
        default: {
            const quint32 sizes[] = {12, 16, 40, 52, 56, 64, 108, 124, quint32(random() % 200)};
            put(14, sizes[random() % 9]);
            break;
        }
    }
}

QList<QByteArray> mutants(const QByteArray& base, int count, unsigned seed) {
    std::mt19937 random(seed);
    const bool bmp = base.startsWith("BM");
    QList<QByteArray> out;
    const qsizetype size = base.size();
    for (int i = 0; i < count; ++i) {
        QByteArray m = base;
        if (bmp && i % 5 == 4) {
            damageBmpField(m, random);
            if (random() % 3 == 0)
                m.truncate(m.size() - qsizetype(random() % quint32(m.size() / 3 + 1)));
            out.append(m);
            continue;
        }
        switch (i % 4) {
            case 0:  // truncation anywhere
                m.truncate(qsizetype(random() % quint32(size)));
                break;
            case 1: {  // one to eight bit flips anywhere
                const int flips = 1 + int(random() % 8);
                for (int f = 0; f < flips; ++f)
                    m[qsizetype(random() % quint32(size))] ^= char(1 << (random() % 8));
                break;
            }
            case 2: {  // a header byte set to an extreme
                const qsizetype at = qsizetype(random() % quint32(std::min<qsizetype>(size, 64)));
                const char values[] = {'\0', '\xff', '\x7f', '\x80', char(random())};
                m[at] = values[random() % 5];
                break;
            }
            default: {  // a 16- or 32-bit header field made huge, then possibly truncated
                const qsizetype at =
                    qsizetype(random() % quint32(std::min<qsizetype>(size - 4, 60)));
                for (int k = 0; k < 1 + int(random() % 2) * 2; ++k)
                    m[at + k] = char(0xff - random() % 3);
                if (random() % 2) m.truncate(size - qsizetype(random() % quint32(size / 2 + 1)));
                break;
            }
        }
        out.append(m);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mutate_pictures <work folder> [mutants per picture]\n");
        return 2;
    }
    Recorder recorder;
    platform::installServices({&recorder, nullptr, nullptr});
    if (qstrcmp(argv[1], "--load") == 0) {  // files in turn: each one's outcome and hash
        for (int i = 2; i < argc; ++i) {
            const auto bitmap =
                GraphicLoadImageFileToBitmap(QString::fromLocal8Bit(argv[i]), 0, 0, 0, 0x00C800);
            std::printf(
                "%s %s %s\n", argv[i], bitmap ? "loaded" : "refused",
                bitmap ? QCryptographicHash::hash(bitmap->pixelBlock(), QCryptographicHash::Sha1)
                             .toHex()
                             .constData()
                       : "-");
        }
        return 0;
    }
    const QDir work(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(work.path());
    const int perPicture = argc > 2 ? std::atoi(argv[2]) : 400;
    const bool keep = argc > 3 && qstrcmp(argv[3], "keep") == 0;  // leave the files for a look

    const QImage a = photo(48, 32, 1);
    // Four pixels a row leave no row padding, which Qt's writer would leave unset.
    QImage indexed = photo(32, 20, 2).convertToFormat(QImage::Format_Indexed8);
    const QList<std::pair<QString, QByteArray>> bases = {
        {"png", encoded(a, "png")},
        {"jpg", encoded(a, "jpeg")},
        {"gif", encodeGif(a).value_or(QByteArray())},
        {"bmp", encoded(a, "bmp")},
        {"bmp8.bmp", encoded(indexed, "bmp")},
        {"rle.bmp", rleBmp()},
        {"rle4.bmp", rle4Bmp()},
        {"mono.bmp", bmpOf(40, 37, 19, 1, 0, 0, 2)},
        {"mono255.bmp", bmpOf(40, 29, 11, 1, 0, 255, 255)},
        {"bmp4.bmp", bmpOf(40, 21, 13, 4, 0, 0, 16)},
        {"os2.bmp", bmpOf(12, 30, 17, 8, 0, 0, 256)},
        {"bf16.bmp", bmpOf(40, 19, 11, 16, 3, 0, 0)},
        {"bf32.bmp", bmpOf(40, 17, 12, 32, 3, 0, 0)},
        {"v5.bmp", bmpOf(124, 15, 9, 32, 0, 0, 0)},
        {"tif", encoded(a, "tiff")},
        {"planar16.tif", tiff16(work.filePath("seed.tif"), a, true, COMPRESSION_NONE)},
        {"planar16lzw.tif", tiff16(work.filePath("seed.tif"), a, true, COMPRESSION_LZW)},
        {"rgb16.tif", tiff16(work.filePath("seed.tif"), a, false, COMPRESSION_NONE)},
        {"ico", icon(photo(32, 32, 3))},
        {"webp", webp(a, false)},
        {"alpha.webp", webp(withHole(a), true)},
        {"anim.webp", animatedWebp(withHole(a), photo(20, 12, 4))},
        {"heic", heif(a, heif_compression_HEVC)},
        {"alpha.heic", heif(withHole(a), heif_compression_HEVC)},
        {"avif", heif(a, heif_compression_AV1)},
    };

    int refused = 0, loaded = 0, anomalies = 0;
    qint64 slowest = 0;
    QString slowestName;
    for (const auto& [kind, base] : bases) {
        if (base.isEmpty()) {
            std::fprintf(stderr, "no base picture for %s\n", qPrintable(kind));
            return 1;
        }
        int n = 0;
        for (const QByteArray& bytes : mutants(base, perPicture, qHash(kind))) {
            const QString name = QStringLiteral("%1_%2.%3")
                                     .arg(kind.section(u'.', 0, 0))
                                     .arg(n++, 4, 10, QChar(u'0'))
                                     .arg(kind.section(u'.', -1));
            const QString file = work.filePath(name);
            {
                QFile out(file);
                if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return 1;
            }
            recorder.texts.clear();
            QElapsedTimer clock;
            clock.start();
            QString outcome;
            QSize size;
            QByteArray hash("-");
            if (kind == QLatin1String("ico")) {
                const auto picture = readIconFile(file);
                if (picture) {
                    size = picture->size();
                    hash = QCryptographicHash::hash(
                               QByteArrayView(picture->constBits(), picture->sizeInBytes()),
                               QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
                }
                outcome = picture ? QStringLiteral("loaded") : QStringLiteral("refused");
            } else {
                const auto bitmap = GraphicLoadImageFileToBitmap(file, 0, 0, 0, 0x00C800);
                const QString readError =
                    QStringLiteral(
                        "[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <") +
                    file + u'>';
                if (bitmap) {
                    size = bitmap->size();
                    hash = QCryptographicHash::hash(bitmap->pixelBlock(), QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
                    outcome = recorder.texts.isEmpty()
                                  ? QStringLiteral("loaded")
                                  : QStringLiteral("ANOMALY:loaded-with-message");
                } else if (recorder.texts == QStringList{readError}) {
                    outcome = QStringLiteral("refused");
                } else if (recorder.texts.isEmpty()) {
                    outcome = QStringLiteral("ANOMALY:refused-silently");
                } else {
                    outcome = QStringLiteral("ANOMALY:") +
                              recorder.texts.join(u'|').simplified().replace(u' ', u'_');
                }
            }
            const qint64 took = clock.elapsed();
            if (took > slowest) {
                slowest = took;
                slowestName = name;
            }
            if (outcome == QLatin1String("refused"))
                ++refused;
            else if (outcome == QLatin1String("loaded"))
                ++loaded;
            else
                ++anomalies;
            std::printf("%s %s %d %d %s\n", qPrintable(name), qPrintable(outcome), size.width(),
                        size.height(), hash.constData());
            if (!keep) QFile::remove(file);
        }
    }
    std::fprintf(stderr, "files %d: refused %d, loaded %d, anomalies %d; slowest %lld ms (%s)\n",
                 refused + loaded + anomalies, refused, loaded, anomalies, slowest,
                 qPrintable(slowestName));
    return anomalies == 0 ? 0 : 1;
}
