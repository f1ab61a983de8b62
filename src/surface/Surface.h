#pragma once
// The drawing surface: a 32-bit raster (QImage, Format_RGB32) with the small set of operations
// that every part of the program draws with. Lines and shapes are drawn without antialiasing so
// that pixel positions are exact; text uses grey-scale antialiasing.
//
// Drawing conventions (those of the classic Windows raster):
//  - a line from A to B paints A but not B (for pen width 1);
//  - a box or ellipse from (x1, y1) to (x2, y2) covers the pixels x1 <= x < x2, y1 <= y < y2;
//  - pens wider than one pixel have round caps and joins.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "surface/Colour.h"
#include "surface/FontRequest.h"

class QBrush;
class QPainter;
class QPen;

namespace tessel {

enum class BackgroundMode { Opaque, Transparent };
enum class FloodMode { Border, Surface };

// Fill styles: 0 solid, 1 horizontal, 2 vertical, 3 forward diagonal, 4 backward diagonal,
// 5 cross, 6 diagonal cross. Any other number fills solid.
inline constexpr int kFillSolid = 0;
// Pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
inline constexpr int kPenSolid = 0;
inline constexpr int kPenDot = 2;

class Surface {
  public:
    // A new surface of the given size; its pixels are black until cleared or drawn over.
    Surface(int width, int height);
    // A surface over a copy of the picture, converted to Format_RGB32.
    explicit Surface(const QImage& picture);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QSize size() const { return image_.size(); }
    bool isNull() const { return image_.isNull(); }
    const QImage& image() const { return image_; }
    // Direct access for writing: the whole surface counts as touched.
    QImage& image() {
        markDirty(image_.rect());
        return image_;
    }
    // Direct access for writing inside `area` only: just that rectangle counts as touched.
    QImage& imageFor(const QRect& area) {
        markDirty(area);
        return image_;
    }

    // The rectangle holding every pixel written since the last clearDirty() (or since the
    // surface was made, when it covers the whole surface), clipped to the surface; empty when
    // nothing was written. Every writing operation widens it, so a history needs to look at
    // nothing outside it.
    QRect dirtyRect() const { return dirty_; }
    // Smaller rectangles whose union holds every pixel written since the last clearDirty(): one
    // per operation (a long line gives several along its length), or the dirty rectangle alone
    // once there are many.
    const std::vector<QRect>& dirtyParts() const { return dirtyParts_; }
    // How many times pixels were marked as written since the surface was made: a writer that
    // goes over the same rectangle again still counts, so a viewer that saw the dirty rectangle
    // can tell that its pixels changed once more. clearDirty() does not reset it.
    std::uint64_t writes() const { return writes_; }
    // Every write is announced here before any pixel changes (also by imageFor(QRect()), which
    // writes without marking anything).
    void markDirty(const QRect& area);
    // Called by markDirty() before anything is written: the owner of a surface whose pixels
    // another thread may still be reading waits there for that reader. It stays with this
    // surface when another is assigned to it, and a copy of the surface does not take it.
    void setBeforeWrite(std::function<void()> wait) { beforeWrite_.wait = std::move(wait); }
    void clearDirty() {
        dirty_ = QRect();
        dirtyParts_.clear();
        partsMerged_ = false;
    }

    // Fills the whole surface; -1 means the current background colour, also while the
    // background mode is transparent. The current position returns to (0, 0).
    void clear(Colour colour, int fillStyle = kFillSolid);

    // -1: system window-text colour (foreground) or button-face colour (background);
    // -2 as background: transparent background mode; -3: leave unchanged.
    void setForeground(Colour colour);
    void setBackground(Colour colour);
    Colour foreground() const { return foreground_; }
    Colour background() const { return background_; }
    BackgroundMode backgroundMode() const { return backgroundMode_; }

    void setPenWidth(int pixels);
    void setPenStyle(int style);
    int penWidth() const { return penWidth_; }
    int penStyle() const { return penStyle_; }

    void moveTo(int x, int y) { position_ = QPoint(x, y); }
    QPoint position() const { return position_; }

    // Line from the current position; colour -1 is the current foreground colour. The current
    // position becomes the end point.
    void lineTo(int x, int y, Colour colour = kDefaultColour);
    void line(int x1, int y1, int x2, int y2, Colour colour = kDefaultColour);

    // Box with rounded corners: corners are ordered first, percent is clamped to 0..100 and the
    // corner arcs have the diameter min(width, height) * percent / 100 (integer arithmetic).
    // lineColour -1: the current foreground; fillColour -1: the line colour, -2: no fill.
    void box(int x1, int y1, int x2, int y2, int cornerPercent, Colour lineColour,
             Colour fillColour, int fillStyle);
    // The ellipse inscribed in the box, with the box's colour and fill rules.
    void ellipse(int x1, int y1, int x2, int y2, Colour lineColour, Colour fillColour,
                 int fillStyle);

    // Outside the surface pixel() answers -1 and setPixel() does nothing.
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour colour);

    // fill -1: current foreground, -2: nothing happens; boundary -1: the fill colour.
    // Border mode spreads until the boundary colour; surface mode spreads over the connected
    // pixels that have the boundary colour.
    void floodFill(int x, int y, Colour fill, Colour boundary, int fillStyle, FloodMode mode);

    // Text in the selected font, foreground colour and background mode.
    void selectFont(const ResolvedFont& font);
    const ResolvedFont& font() const { return font_; }
    // Prints at the current position (its top-left corner), then moves the position down by
    // the character height plus the external leading.
    void print(const QString& text);
    QSize measure(const QString& text) const;
    int averageCharWidth() const;
    int charHeight() const;

    // One-to-one copy of a rectangle of another surface to a point of this one (clipped).
    void copyFrom(const Surface& source, const QRect& sourceRect, const QPoint& target);
    void copyFrom(const QImage& source, const QRect& sourceRect, const QPoint& target);
    // Scaled copy of a rectangle of another surface onto a rectangle of this one.
    void stretchFrom(const Surface& source, const QRect& sourceRect, const QRect& targetRect);

    // A picture (or an icon) scaled smoothly into the rectangle; its transparency shows what
    // lies beneath.
    void drawPicture(const QImage& picture, const QRect& target);

    // The whole surface as one byte string: width and height as 32-bit little-endian numbers,
    // then the pixels row by row from the top, each as blue, green, red, reserved.
    QByteArray pixelBlock() const;
    // Replaces every pixel; false (and nothing changed) when the block's size does not match.
    bool setPixelBlock(const QByteArray& block);

  private:
    // Sentinel resolution for lines and outlines: -2 is "no line", any other sentinel the
    // current foreground colour.
    Colour lineColourOf(Colour colour) const;
    // A painter over the image: no antialiasing, the background colour and mode of the surface
    // (the gaps of styled pens and hatch brushes take the background colour when it is opaque).
    void preparePainter(QPainter& painter) const;
    // The pen for lines and outlines in the current width and style.
    QPen makePen(Colour colour) const;
    // The brush for a fill style (any style outside 0..6 is solid).
    static QBrush makeBrush(Colour colour, int fillStyle);
    // Box and ellipse share this: the outline through the outer pixels of `box` with corner
    // arcs of the given diameters.
    void drawRoundedShape(const QRect& box, int arcWidth, int arcHeight, Colour lineColour,
                          Colour fillColour, int fillStyle);
    // The dotted styles (dot, dash-dot, dash-dot-dot) of a pen wider than one pixel: each dot
    // as long as the pen is wide, round caps, the gaps in the background colour when it is
    // opaque. sideBySide: every segment of the closed outline starts its own pattern at its
    // first point (the corners of a plain box).
    void strokeWideDots(QPainter& painter, QPolygonF points, bool closed, Colour ink,
                        bool sideBySide = false) const;
    // The selected font with grey-scale (never sub-pixel) antialiasing.
    QFont drawingFont() const;

    // The rectangle that a pen of the current width can paint around the given one.
    QRect penReach(const QRect& area) const;

    static constexpr std::size_t kMaxDirtyParts = 64;

    QImage image_;
    QRect dirty_;
    std::uint64_t writes_ = 0;
    struct BeforeWrite {
        std::function<void()> wait;
        BeforeWrite() = default;
        BeforeWrite(const BeforeWrite&) {}
        BeforeWrite& operator=(const BeforeWrite&) { return *this; }
    };
    BeforeWrite beforeWrite_;
    std::vector<QRect> dirtyParts_;
    bool partsMerged_ = false;
    Colour foreground_ = 0;
    Colour background_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    int penWidth_ = 1;
    int penStyle_ = kPenSolid;
    QPoint position_;
    ResolvedFont font_;
};

}  // namespace tessel
