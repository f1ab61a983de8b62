#pragma once
// Moving pictures between image files and drawing surfaces: loading a picture file at a
// requested size and saving a surface as a PNG, JPEG, GIF, TIFF or BMP file.

#include <QString>
#include <optional>

#include "imaging/ImageSizeSetting.h"
#include "surface/Colour.h"
#include "surface/Surface.h"

namespace tessel {

// The largest picture the program decodes or creates: 256 MiB of 32-bit pixels.
inline constexpr qint64 kMaxPicturePixels = 256LL * 1024 * 1024 / 4;

// Loads a picture file into a new surface of width x height (0: the picture's own side),
// cleared with the paper colour and with the picture scaled smoothly over it. With keepAspect
// non-zero the picture is fitted into the box instead (a picture larger than the box is reduced
// with its proportions kept; a zero box side then gives nothing). Nothing when the file is
// missing, is no regular file, cannot be decoded completely (its data ends before its pixels
// do) or is larger than kMaxPicturePixels, each with its message. PNG, JPEG, GIF, TIFF, BMP,
// WebP, HEIF (HEIC) and AVIF files are read, as decodePicture reads them.
std::optional<Surface> GraphicLoadImageFileToBitmap(const QString& fileName, int width, int height,
                                                    int keepAspect, Colour paperColour);

// Decodes a whole picture held in memory (the bytes of a PNG, JPEG, GIF, TIFF, BMP, WebP, HEIF
// or AVIF file), refusing one whose declared size is too large before any pixel memory is
// taken, and one whose data ends before its pixels do. Nothing (and no message) when it cannot
// be read completely. The picture comes normalised: in sRGB when the file carries another
// colour profile, turned and mirrored as its EXIF orientation says (the first frame of an
// animation).
std::optional<QImage> decodePicture(const QByteArray& bytes);
// decodePicture() for data that may hold a large picture (pasted or dropped): data of a megabyte
// or more, or whose header declares two megapixels or more, is decoded as long work, with the
// progress window ("Leyendo imagen ...") once it takes half a second.
std::optional<QImage> decodePictureShowingProgress(const QByteArray& bytes);

// A picture that comes as pixels rather than bytes (pasted, say) made ready as decodePicture
// makes a decoded one: converted to sRGB when it carries another colour space.
QImage normalisePicture(QImage picture);

// The rest of a load once the picture is decoded: the surface of width x height (0: the
// picture's own side, keepAspect as for GraphicLoadImageFileToBitmap), cleared with the paper
// colour with the picture drawn over it. Nothing when such a surface cannot be made (after a
// message) or, with keepAspect, for a zero box side.
std::optional<Surface> BitmapFromPicture(QImage picture, int width, int height, int keepAspect,
                                         Colour paperColour);
// BitmapFromPicture at the size the image-size setting says.
std::optional<Surface> PictureAsBitmap(QImage picture, const ImageSizeSetting& setting,
                                       Colour paperColour);

// The loader's message for a file that is no picture it can read completely.
void showPictureReadError(const QString& fileName);

// Loads a picture at its own size or fitted into the box, as the image-size setting says.
std::optional<Surface> LoadPictureAsBitmap(const QString& fileName, const ImageSizeSetting& setting,
                                           Colour paperColour);

// Writes the surface to the file in the format of its lower-cased extension (".png", ".jpg",
// ".gif", ".tif" or ".bmp"); any other extension writes nothing and shows nothing. The file is
// written beside the target first and replaces it only when complete, so a failed save leaves
// an existing file as it was. Shows "Grabado con exito ..." on success and a message saying
// the file could not be written on failure; true when the file was written.
bool SaveBitmapAsImageFile(const Surface& bitmap, const QString& fileName);

}  // namespace tessel
