#include "cutting/CutSettings.h"

namespace tessel {

QString extensionOf(int formatChoice) {
    switch (formatChoice) {
        case kFormatPng: return QStringLiteral(".png");
        case kFormatGif: return QStringLiteral(".gif");
        case kFormatTif: return QStringLiteral(".tif");
        case kFormatBmp: return QStringLiteral(".bmp");
        default: return QStringLiteral(".jpg");
    }
}

}  // namespace tessel
