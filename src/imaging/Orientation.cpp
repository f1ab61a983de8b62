#include "imaging/Orientation.h"

#include <libexif/exif-data.h>

#include <QTransform>
#include <memory>

namespace tessel {

namespace {

struct ExifDataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

bool startsWith(const QByteArray& bytes, const char* prefix, int length) {
    return bytes.size() >= length && std::memcmp(bytes.constData(), prefix, size_t(length)) == 0;
}

QImage turned(const QImage& picture, qreal degrees) {
    // Quarter turns are exact moves of the pixels in Qt.
    return picture.transformed(QTransform().rotate(degrees), Qt::FastTransformation);
}

}  // namespace

int exifOrientation(const QByteArray& exif) {
    QByteArray block = exif;
    // libexif takes the block with its "Exif\0\0" header (or inside a JPEG file).
    if (startsWith(block, "II*\0", 4) || startsWith(block, "MM\0*", 4)) {
        block.prepend(QByteArray("Exif\0\0", 6));
    }
    if (!startsWith(block, "Exif\0\0", 6)) return 1;
    const std::unique_ptr<ExifData, ExifDataRelease> data(exif_data_new());
    if (!data) return 1;
    // Read the tags as they are: no defaults added, no values "corrected".
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
        entry->size < 2) {
        return 1;
    }
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

QImage orientPicture(QImage picture, int orientation) {
    switch (orientation) {
        case 2:
            return picture.mirrored(true, false);
        case 3:
            return picture.mirrored(true, true);
        case 4:
            return picture.mirrored(false, true);
        case 5:
            return turned(picture, 90).mirrored(true, false);
        case 6:
            return turned(picture, 90);
        case 7:
            return turned(picture, 270).mirrored(true, false);
        case 8:
            return turned(picture, 270);
        default:
            return picture;
    }
}

}  // namespace tessel
