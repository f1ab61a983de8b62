// WebP, HEIF (HEIC) and AVIF files open as PNG files do: their pixels, the paper under their
// transparency, the first frame of an animation; damaged or cut files are refused with the
// read-error message. The files are made here with libwebp's and libheif's encoders.

#include <gtest/gtest.h>
#include <libheif/heif.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "imaging/ClearedAlignedMemory.h"
#include "imaging/CodecBridge.h"
#include "imaging/PictureFileTest.h"
#include "imaging/Pictures.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

using testing::ScriptedServices;

constexpr Colour kPaper = testing::kTestPaper;
constexpr QRgb kPaperRgb = 0xFF00C800;

// A photograph with a transparent band across its middle rows.
QImage withTransparentBand(const QImage& photo) {
    QImage picture = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = picture.height() / 3; y < picture.height() * 2 / 3; ++y) {
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, 0x00000000);
    }
    return picture;
}

QByteArray losslessWebp(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    uint8_t* out = nullptr;
    const size_t size = WebPEncodeLosslessBGRA(argb.constBits(), argb.width(), argb.height(),
                                               int(argb.bytesPerLine()), &out);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    WebPFree(out);
    return bytes;
}

// An animation of the frames, each shown for 100 ms, losslessly coded.
QByteArray animatedWebp(const QList<QImage>& frames) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) return {};
    const QSize size = frames.first().size();
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    int timestamp = 0;
    bool ok = encoder != nullptr;
    for (const QImage& frame : frames) {
        const QImage argb = frame.convertToFormat(QImage::Format_ARGB32);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = argb.width();
        picture.height = argb.height();
        ok = ok && WebPPictureImportBGRA(&picture, argb.constBits(), int(argb.bytesPerLine())) &&
             WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPData data;
    WebPDataInit(&data);
    ok = ok && WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr) &&
         WebPAnimEncoderAssemble(encoder, &data);
    QByteArray bytes;
    if (ok) bytes = QByteArray(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// The picture coded as HEVC (a HEIC file) or AV1 (an AVIF file) at quality 90, with an EXIF
// block when one is given; nothing when libheif has no such encoder here.
QByteArray heifFile(const QImage& source, heif_compression_format coding,
                    const QByteArray& exif = {}) {
    if (!heif_have_encoder_for_format(coding)) return {};
    const bool alpha = source.hasAlphaChannel();
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    heif_image* image = nullptr;
    if (heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          &image)
            .code != heif_error_Ok) {
        return {};
    }
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
    heif_image_handle* handle = nullptr;
    QByteArray bytes;
    heif_writer writer{1, appendTo};
    bool ok = heif_context_get_encoder_for_format(context, coding, &encoder).code == heif_error_Ok;
    ok = ok && heif_encoder_set_lossy_quality(encoder, 90).code == heif_error_Ok &&
         heif_context_encode_image(context, image, encoder, nullptr, &handle).code == heif_error_Ok;
    if (ok && !exif.isEmpty()) {
        ok = heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()))
                 .code == heif_error_Ok;
    }
    ok = ok && heif_context_write(context, &writer, &bytes).code == heif_error_Ok;
    if (handle) heif_image_handle_release(handle);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    heif_image_release(image);
    return ok ? bytes : QByteArray();
}

class NewFormatsTest : public testing::PictureFileTest {
  protected:
    // Loading fails with exactly the read-error message.
    void expectReadError(const QString& file) {
        ScriptedServices services;
        EXPECT_FALSE(GraphicLoadImageFileToBitmap(file, 0, 0, 0, kPaper)) << file.toStdString();
        ASSERT_EQ(services.messages.size(), 1);
        EXPECT_EQ(
            services.messages[0].text,
            "[GraphicLoadImageFileToBitmap] [GdipLoadImagefromFile] read error on <" + file + ">");
    }

    // The whole file opens; cut anywhere, or with its last byte missing, it is refused.
    void expectCutFilesRefused(const QString& name, const QByteArray& whole) {
        for (const qsizetype length :
             {qsizetype(12), whole.size() / 3, whole.size() * 2 / 3, whole.size() - 1}) {
            SCOPED_TRACE(length);
            expectReadError(
                written(QStringLiteral("cortado_%1_").arg(length) + name, whole.left(length)));
        }
    }
};

// The picture over the paper, pixel by pixel: transparent pixels show the paper.
QImage overPaper(const QImage& picture) {
    QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(shown.pixel(x, y)) == 0) shown.setPixel(x, y, kPaperRgb);
    return shown.convertToFormat(QImage::Format_RGB32);
}

TEST_F(NewFormatsTest, WebpOpensWithItsPixelsThePaperUnderItsTransparencyAndItsFirstFrame) {
    const QImage photo = testing::photoLike(45, 31);
    EXPECT_EQ(opened(written("foto.webp", losslessWebp(photo))), photo);
    const QImage band = withTransparentBand(photo);
    EXPECT_EQ(opened(written("banda.webp", losslessWebp(band))), overPaper(band));

    QImage second(45, 31, QImage::Format_ARGB32);
    second.fill(qRgb(0, 0, 255));
    const QByteArray animation = animatedWebp({band, second});
    ASSERT_FALSE(animation.isEmpty());
    EXPECT_EQ(opened(written("animada.webp", animation)), overPaper(band));

    expectCutFilesRefused("foto.webp", losslessWebp(photo));
    expectCutFilesRefused("animada.webp", animation);
}

TEST_F(NewFormatsTest, HeicAndAvifOpenCloseToThePictureWithThePaperUnderTransparency) {
    const QImage photo = testing::photoLike(64, 48);
    for (const auto& [name, coding] : {std::pair{"foto.heic", heif_compression_HEVC},
                                       std::pair{"foto.avif", heif_compression_AV1}}) {
        SCOPED_TRACE(name);
        const QByteArray bytes = heifFile(photo, coding);
        if (bytes.isEmpty()) GTEST_SKIP() << "libheif has no encoder for " << name;
        const QImage shown = opened(written(name, bytes));
        ASSERT_EQ(shown.size(), photo.size());
        EXPECT_LT(testing::meanError(shown, photo), 8.0);

        // Where the picture is transparent the paper shows; elsewhere the picture does.
        const QImage band = withTransparentBand(photo);
        const QImage shownBand =
            opened(written(QStringLiteral("banda_") + name, heifFile(band, coding)));
        ASSERT_EQ(shownBand.size(), photo.size());
        EXPECT_LT(testing::meanError(shownBand, overPaper(band)), 8.0);
        EXPECT_EQ(shownBand.pixel(32, 24), kPaperRgb);

        expectCutFilesRefused(name, bytes);
    }
}

TEST_F(NewFormatsTest, AHeicFileIsTurnedByItsOwnTransformationsNotAgainByItsExif) {
    // HEIF keeps the orientation in its own boxes; the EXIF block only repeats it, so an
    // orientation there with no box to say so leaves the picture as stored.
    const QByteArray exif =
        QByteArray("\0\0\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 30);
    const QImage photo = testing::photoLike(40, 24);
    const QByteArray bytes = heifFile(photo, heif_compression_HEVC, exif);
    if (bytes.isEmpty()) GTEST_SKIP() << "libheif has no HEVC encoder";
    EXPECT_EQ(opened(written("exif6.heic", bytes)).size(), photo.size());
}

TEST_F(NewFormatsTest, ADamagedOrHugeHeicIsRefused) {
    const QByteArray bytes = heifFile(testing::photoLike(64, 48), heif_compression_HEVC);
    if (bytes.isEmpty()) GTEST_SKIP() << "libheif has no HEVC encoder";
    // The picture's declared size (every "ispe" box) made 9000 x 8000, beyond the program's
    // bound: refused before any pixel memory is taken.
    QByteArray huge = bytes;
    const auto put32 = [&](qsizetype where, quint32 value) {
        for (int i = 0; i < 4; ++i) huge[where + i] = char((value >> (24 - 8 * i)) & 0xFF);
    };
    int boxes = 0;
    for (qsizetype at = huge.indexOf("ispe"); at > 0; at = huge.indexOf("ispe", at + 4)) {
        put32(at + 8, 9000);
        put32(at + 12, 8000);
        ++boxes;
    }
    ASSERT_GT(boxes, 0);
    expectReadError(written("enorme.heic", huge));
    // Its file-type box damaged: no HEIF file any more.
    QByteArray damaged = bytes;
    damaged.replace(damaged.indexOf("ftyp"), 4, "ftyq");
    expectReadError(written("dañada.heic", damaged));
}

// The HEVC decoder's picture memory: while a HEIF picture is decoded, a block handed out again
// after it held other data comes back cleared, so nothing the heap held can show in a picture.
TEST(ClearedAlignedMemory, BlocksAreClearedWhileItLivesAndOnlyThen) {
    constexpr std::size_t kSize = 64 * 1024;
    const auto block = []() {
        void* memory = nullptr;
        EXPECT_EQ(posix_memalign(&memory, 64, kSize), 0);
        return static_cast<unsigned char*>(memory);
    };
    const auto cleared = [](const unsigned char* bytes) {
        for (std::size_t i = 0; i < kSize; ++i) {
            if (bytes[i] != 0) return false;
        }
        return true;
    };
    for (int round = 0; round < 8; ++round) {
        unsigned char* used = block();
        std::memset(used, 0xAB, kSize);
        std::free(used);
        const ClearedAlignedMemory guard;
        unsigned char* fresh = block();
        EXPECT_TRUE(cleared(fresh)) << round;
        std::free(fresh);
    }
    // Without it, blocks are handed on as they are: most allocators give back the block just
    // freed, with its bytes.
    int dirty = 0;
    for (int round = 0; round < 8; ++round) {
        unsigned char* used = block();
        std::memset(used, 0xAB, kSize);
        std::free(used);
        unsigned char* again = block();
        if (!cleared(again)) ++dirty;
        std::free(again);
    }
    EXPECT_GT(dirty, 0);
}

}  // namespace
}  // namespace tessel
