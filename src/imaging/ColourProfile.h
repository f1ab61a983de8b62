#pragma once
// Colour profiles embedded in picture files: the program works in sRGB, so a picture that
// carries another profile is converted to sRGB as it is read (through lcms2, which reads every
// kind of ICC profile). A picture without a profile, or with an sRGB one, keeps its bytes.

#include <QByteArray>
#include <QImage>
#include <memory>

namespace tessel {

// True when the ICC profile is an RGB or grey profile that maps colours as sRGB does: no
// colour of a sample grid moves by half an 8-bit level or more.
bool profileIsSrgb(const QByteArray& iccProfile);

// Converts the picture to sRGB from the RGB or grey ICC profile it was stored with (perceptual
// rendering, alpha kept); true when it did. The picture stays as it is when the profile is
// empty, sRGB, unreadable or of another kind of colour than the picture's.
bool convertToSrgb(QImage& picture, const QByteArray& iccProfile);

// Turns rows of CMYK samples (4 bytes a pixel; `inverted` when 0 is full ink, as Adobe programs
// write them) into sRGB pixels in the order of Format_RGB32. Through the CMYK ICC profile when
// one is given and readable; otherwise each ink simply takes its share of the light away:
// red = (1 - cyan)(1 - black), green and blue likewise.
class CmykToSrgb {
  public:
    CmykToSrgb(const QByteArray& iccProfile, bool inverted);
    ~CmykToSrgb();
    CmykToSrgb(const CmykToSrgb&) = delete;
    CmykToSrgb& operator=(const CmykToSrgb&) = delete;

    void convertRow(const uchar* cmyk, QRgb* out, int width) const;

  private:
    void* transform_ = nullptr;  // an lcms2 transform, or none for the simple formula
    bool inverted_;
};

}  // namespace tessel
