#include "imaging/PngMetadata.h"

#include <png.h>

#include <QColorSpace>
#include <QList>
#include <QMap>
#include <csetjmp>

namespace tessel {

namespace {

// A text as libpng takes it, with the storage its pointers refer to.
struct Text {
    QByteArray key;
    QByteArray value;
    QByteArray translatedKey;
    int compression = PNG_TEXT_COMPRESSION_NONE;
};

// libpng writes a key of up to 79 characters, keeping printable Latin-1 ones and turning runs
// of others into single spaces; a key with no printable character is an error.
bool keyHasPrintable(const QByteArray& key) {
    for (const char c : key.left(79)) {
        const auto ch = static_cast<unsigned char>(c);
        if ((ch > 32 && ch <= 126) || ch >= 161) return true;
    }
    return false;
}

// The picture's texts as Qt's writer hands them to libpng: by key order, compressed from 40
// characters on, as UTF-8 international text when a character is not printable Latin-1.
QList<Text> textsOf(const QImage& picture) {
    QMap<QString, QString> texts;
    for (const QString& key : picture.textKeys()) {
        if (!key.isEmpty()) texts.insert(key, picture.text(key));
    }
    QList<Text> result;
    for (auto it = texts.constBegin(); it != texts.constEnd(); ++it) {
        Text text;
        text.key = QStringView{it.key()}.left(79).toLatin1();
        if (!keyHasPrintable(text.key)) continue;
        const bool plain = it.value().length() < 40;
        bool international = false;
        for (const QChar c : it.value()) {
            const uchar ch = c.cell();
            if (c.row() || (ch < 0x20 && ch != '\n') || (ch > 0x7e && ch < 0xa0)) {
                international = true;
                break;
            }
        }
        if (international) {
            text.compression = plain ? PNG_ITXT_COMPRESSION_NONE : PNG_ITXT_COMPRESSION_zTXt;
            text.value = it.value().toUtf8();
            text.translatedKey = it.key().toUtf8();
        } else {
            text.compression = plain ? PNG_TEXT_COMPRESSION_NONE : PNG_TEXT_COMPRESSION_zTXt;
            text.value = it.value().toLatin1();
        }
        result.append(text);
    }
    return result;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void noFlush(png_structp) {}
void ignoreWarning(png_structp, png_const_charp) {}

// Everything libpng is given, prepared before it runs: its errors jump back over this frame.
struct Settings {
    QByteArray profileName, profile;
    QPoint offset;
    int dotsPerMeterX = 0, dotsPerMeterY = 0;
    QList<Text> texts;
    std::vector<png_text> pngTexts;
};

// The signature, IHDR and ancillary chunks as libpng writes them; false on a libpng error.
bool writeInfo(const Settings& s, QByteArray& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_error_fn(png, nullptr, nullptr, ignoreWarning);
    png_set_benign_errors(png, 1);
    png_set_write_fn(png, &out, appendBytes, noFlush);
    // The header libpng writes is dropped: its size is none of these chunks' business, and
    // libpng refuses sides over a million pixels, which PNG files may have.
    png_set_IHDR(png, info, 1, 1, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (!s.profile.isEmpty()) {
        png_set_iCCP(png, info, s.profileName.constData(), PNG_COMPRESSION_TYPE_BASE,
                     reinterpret_cast<png_const_bytep>(s.profile.constData()),
                     png_uint_32(s.profile.size()));
    }
    if (s.offset.x() != 0 || s.offset.y() != 0) {
        png_set_oFFs(png, info, s.offset.x(), s.offset.y(), PNG_OFFSET_PIXEL);
    }
    if (s.dotsPerMeterX > 0 || s.dotsPerMeterY > 0) {
        png_set_pHYs(png, info, png_uint_32(s.dotsPerMeterX), png_uint_32(s.dotsPerMeterY),
                     PNG_RESOLUTION_METER);
    }
    if (!s.pngTexts.empty()) {
        png_set_text(png, info, s.pngTexts.data(), int(s.pngTexts.size()));
    }
    png_write_info(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<QByteArray> pngAncillaryChunks(const QImage& picture) {
    Settings s;
    if (picture.colorSpace().isValid()) {
        s.profileName = picture.colorSpace().description().toLatin1();
        if (s.profileName.isEmpty()) s.profileName = QByteArrayLiteral("Custom");
        s.profile = picture.colorSpace().iccProfile();
    }
    s.offset = picture.offset();
    s.dotsPerMeterX = picture.dotsPerMeterX();
    s.dotsPerMeterY = picture.dotsPerMeterY();
    s.texts = textsOf(picture);
    for (Text& text : s.texts) {
        png_text entry{};
        entry.compression = text.compression;
        entry.key = text.key.data();
        entry.text = text.value.data();
        if (text.compression == PNG_ITXT_COMPRESSION_NONE ||
            text.compression == PNG_ITXT_COMPRESSION_zTXt) {
            entry.itxt_length = std::size_t(text.value.size());
            entry.lang = const_cast<char*>("UTF-8");
            entry.lang_key = text.translatedKey.data();
        } else {
            entry.text_length = std::size_t(text.value.size());
        }
        s.pngTexts.push_back(entry);
    }
    QByteArray written;
    if (!writeInfo(s, written)) return std::nullopt;
    // libpng began with the 8-byte signature and the 25-byte IHDR chunk.
    constexpr qsizetype kHead = 8 + 25;
    if (written.size() < kHead || written.mid(12, 4) != "IHDR") return std::nullopt;
    return written.mid(kHead);
}

}  // namespace tessel
