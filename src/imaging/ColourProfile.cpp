#include "imaging/ColourProfile.h"

#include <lcms2.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tessel {

namespace {

struct ProfileRelease {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileRelease>;

struct TransformRelease {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using Transform = std::unique_ptr<void, TransformRelease>;

// A profile a picture may be converted from: a device or colour-space profile (no link,
// abstract or named-colour profile) of the given kind of colour.
Profile openProfile(const QByteArray& iccProfile) {
    if (iccProfile.isEmpty()) return {};
    Profile profile(
        cmsOpenProfileFromMem(iccProfile.constData(), cmsUInt32Number(iccProfile.size())));
    if (!profile) return {};
    const cmsProfileClassSignature kind = cmsGetDeviceClass(profile.get());
    if (kind != cmsSigInputClass && kind != cmsSigDisplayClass && kind != cmsSigOutputClass &&
        kind != cmsSigColorSpaceClass) {
        return {};
    }
    return profile;
}

Transform transformToSrgb(void* from, cmsUInt32Number inFormat, cmsUInt32Number outFormat,
                          cmsUInt32Number intent, cmsUInt32Number flags) {
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb) return {};
    // As a version 2 profile, as the sRGB profiles other programs convert to are: lcms2 maps the
    // black of a version 4 target by the perceptual reference medium, which lightens the
    // shadows of pictures from table-based (printing) profiles by several levels.
    cmsSetProfileVersion(srgb.get(), 2.1);
    return Transform(cmsCreateTransform(from, inFormat, srgb.get(), outFormat, intent, flags));
}

bool isGreyFormat(QImage::Format format) {
    return format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16;
}

bool isWideFormat(QImage::Format format) {
    return format == QImage::Format_RGBA64 || format == QImage::Format_RGBX64 ||
           format == QImage::Format_RGBA64_Premultiplied || format == QImage::Format_Grayscale16;
}

// Runs the transform over every row of `in` into `out` (both of the same size).
void transformRows(void* transform, const QImage& in, QImage& out) {
    for (int y = 0; y < in.height(); ++y) {
        cmsDoTransform(transform, in.constScanLine(y), out.scanLine(y),
                       cmsUInt32Number(in.width()));
    }
}

bool convertGrey(QImage& picture, void* profile) {
    const bool wide = picture.format() == QImage::Format_Grayscale16;
    const Transform transform =
        transformToSrgb(profile, wide ? TYPE_GRAY_16 : TYPE_GRAY_8,
                        wide ? TYPE_RGBA_16 : TYPE_BGRA_8, INTENT_PERCEPTUAL, 0);
    if (!transform) return false;
    QImage out(picture.size(), wide ? QImage::Format_RGBX64 : QImage::Format_RGB32);
    if (out.isNull()) return false;
    out.fill(Qt::white);  // the fourth channel, which the transform leaves as it is, opaque
    transformRows(transform.get(), picture, out);
    out.setDotsPerMeterX(picture.dotsPerMeterX());
    out.setDotsPerMeterY(picture.dotsPerMeterY());
    picture = std::move(out);
    return true;
}

}  // namespace

bool profileIsSrgb(const QByteArray& iccProfile) {
    const Profile profile = openProfile(iccProfile);
    if (!profile) return false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(profile.get());
    const bool grey = space == cmsSigGrayData;
    if (!grey && space != cmsSigRgbData) return false;
    const Transform transform =
        transformToSrgb(profile.get(), grey ? TYPE_GRAY_16 : TYPE_RGB_16, TYPE_RGB_16,
                        INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE);
    if (!transform) return false;
    // Every grey level and a grid of colours; half an 8-bit level is 128.5 16-bit steps.
    std::vector<cmsUInt16Number> samples;
    for (int level = 0; level < 256; ++level) {
        const int v = level * 257;
        for (int c = 0; c < (grey ? 1 : 3); ++c) samples.push_back(cmsUInt16Number(v));
    }
    if (!grey) {
        constexpr int kSteps = 9;
        for (int r = 0; r < kSteps; ++r)
            for (int g = 0; g < kSteps; ++g)
                for (int b = 0; b < kSteps; ++b)
                    for (const int c : {r, g, b})
                        samples.push_back(cmsUInt16Number(c * 65535 / (kSteps - 1)));
    }
    const size_t count = samples.size() / (grey ? 1 : 3);
    std::vector<cmsUInt16Number> out(count * 3);
    cmsDoTransform(transform.get(), samples.data(), out.data(), cmsUInt32Number(count));
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int expected = samples[grey ? i : i * 3 + size_t(c)];
            if (std::abs(int(out[i * 3 + size_t(c)]) - expected) >= 128) return false;
        }
    }
    return true;
}

bool convertToSrgb(QImage& picture, const QByteArray& iccProfile) {
    if (picture.isNull() || iccProfile.isEmpty()) return false;
    const Profile profile = openProfile(iccProfile);
    if (!profile || profileIsSrgb(iccProfile)) return false;
    const cmsColorSpaceSignature space = cmsGetColorSpace(profile.get());
    if (space == cmsSigGrayData) {
        if (isGreyFormat(picture.format())) return convertGrey(picture, profile.get());
        if (!picture.isGrayscale()) return false;
        QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
        if (!convertGrey(grey, profile.get())) return false;
        picture = std::move(grey);
        return true;
    }
    if (space != cmsSigRgbData) return false;
    const bool wide = isWideFormat(picture.format());
    const QImage::Format format =
        wide ? (picture.hasAlphaChannel() ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
             : (picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const cmsUInt32Number layout = wide ? TYPE_RGBA_16 : TYPE_BGRA_8;
    const Transform transform =
        transformToSrgb(profile.get(), layout, layout, INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA);
    if (!transform) return false;
    QImage converted = picture.format() == format ? picture : picture.convertToFormat(format);
    if (converted.isNull()) return false;
    transformRows(transform.get(), converted, converted);  // in place: the layouts are the same
    picture = std::move(converted);
    return true;
}

CmykToSrgb::CmykToSrgb(const QByteArray& iccProfile, bool inverted) : inverted_(inverted) {
    const Profile profile = openProfile(iccProfile);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigCmykData) return;
    transform_ = transformToSrgb(profile.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8,
                                 TYPE_BGRA_8, INTENT_PERCEPTUAL, 0)
                     .release();
}

CmykToSrgb::~CmykToSrgb() {
    if (transform_) cmsDeleteTransform(transform_);
}

void CmykToSrgb::convertRow(const uchar* cmyk, QRgb* out, int width) const {
    if (transform_) {
        std::fill(out, out + width, qRgb(255, 255, 255));  // the fourth byte stays opaque
        cmsDoTransform(transform_, cmyk, out, cmsUInt32Number(width));
        return;
    }
    // The light each ink leaves, 255 for no ink: a product of two such shares, rounded.
    const auto share = [&](int i) { return inverted_ ? int(cmyk[i]) : 255 - int(cmyk[i]); };
    for (int x = 0; x < width; ++x, cmyk += 4) {
        const int k = share(3);
        const auto channel = [&](int i) { return (share(i) * k + 127) / 255; };
        out[x] = qRgb(channel(0), channel(1), channel(2));
    }
}

}  // namespace tessel
