#include "shapes/Shapes.h"

namespace tessel {

namespace {

// Pen and background mode for one drawing, put back as they were when it ends.
class PenScope {
  public:
    explicit PenScope(Surface& surface)
        : surface_(surface),
          width_(surface.penWidth()),
          style_(surface.penStyle()),
          background_(surface.background()),
          mode_(surface.backgroundMode()) {}
    ~PenScope() {
        surface_.setPenWidth(width_);
        surface_.setPenStyle(style_);
        surface_.setBackground(mode_ == BackgroundMode::Opaque ? background_ : kTransparent);
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

  private:
    Surface& surface_;
    int width_;
    int style_;
    Colour background_;
    BackgroundMode mode_;
};

}  // namespace

void drawShape(Surface& surface, int x, int y, int width, int height,
               const ShapeSettings& settings) {
    const PenScope scope(surface);
    surface.setPenStyle(settings.shapeLineStyle);
    surface.setPenWidth(settings.shapeLineWidth);
    surface.setBackground(kTransparent);
    const int x2 = x + width;
    const int y2 = y + height;
    if (settings.shapeKind == ShapeKind::Ellipse) {
        surface.ellipse(x, y, x2, y2, settings.shapeBorderColour, settings.shapeFillColour,
                        settings.shapeFillStyle);
        return;
    }
    const int percent = settings.shapeRounded == 1 ? settings.shapeCornerPercent : 0;
    surface.box(x, y, x2, y2, percent, settings.shapeBorderColour, settings.shapeFillColour,
                settings.shapeFillStyle);
}

void drawShape(Surface& surface, int x, int y, const ShapeSettings& settings) {
    drawShape(surface, x, y, settings.shapeWidth, settings.shapeHeight, settings);
}

void drawShapePreview(Surface& surface, const ShapeSettings& settings, Colour background) {
    surface.clear(background);
    drawShape(surface, 30, 30, 90, 90, settings);
}

ArrowPoints arrowPoints(int direction, int x, int y, int L, int H) {
    // clang-format off
    switch (direction) {
        case 2:
            return {{x + L, y - L}, {x + L - H, y - L}, {x + L, y - L + H}, {x, y - H}, {x + H, y}};
        case 3:
            return {{x + L, y}, {x + L - H, y - H}, {x + L - H, y + H}, {x + H, y - H}, {x + H, y + H}};
        case 4:
            return {{x + L, y + L}, {x + L, y + L - H}, {x + L - H, y + L}, {x + H, y}, {x, y + H}};
        case 5:
            return {{x, y + L}, {x - H, y + L - H}, {x + H, y + L - H}, {x + H, y + H}, {x - H, y + H}};
        case 6:
            return {{x - L, y + L}, {x - L, y + L - H}, {x - L + H, y + L}, {x - H, y}, {x, y + H}};
        case 7:
            return {{x - L, y}, {x - L + H, y + H}, {x - L + H, y - H}, {x - H, y - H}, {x - H, y + H}};
        case 8:
            return {{x - L, y - L}, {x - L, y - L + H}, {x - L + H, y - L}, {x, y - H}, {x - H, y}};
        default:
            return {{x, y - L}, {x - H, y - L + H}, {x + H, y - L + H}, {x + H, y - H}, {x - H, y - H}};
    }
    // clang-format on
}

void drawArrow(Surface& surface, int x, int y, int length, int headSize, Colour colour, int width,
               bool closed, int heads, int direction) {
    const PenScope scope(surface);
    surface.setPenStyle(kPenSolid);
    surface.setPenWidth(width);
    // A one-pixel line leaves its end pixel out; an arrow's barbs and tip are whole.
    const auto segment = [&](QPoint from, QPoint to) {
        surface.line(from.x(), from.y(), to.x(), to.y(), colour);
        if (surface.penWidth() <= 1) surface.setPixel(to.x(), to.y(), colour);
    };
    const QPoint tail(x, y);
    const ArrowPoints p = arrowPoints(direction, x, y, length, headSize);
    segment(tail, p.tip);
    if (heads <= 0) return;
    segment(p.tip, p.barbA);
    segment(p.tip, p.barbB);
    if (closed) segment(p.barbA, p.barbB);
    if (heads != 2) return;
    segment(tail, p.tailC);
    segment(tail, p.tailD);
    if (closed) segment(p.tailC, p.tailD);
}

void drawArrow(Surface& surface, int x, int y, const ArrowSettings& s) {
    drawArrow(surface, x, y, s.arrowLength, s.arrowHeadSize, s.arrowColour, s.arrowWidth,
              s.arrowClosed == 1, s.arrowHeads, s.arrowDirection);
}

void drawArrowPreview(Surface& surface, const ArrowSettings& s, Colour background) {
    surface.clear(background);
    drawArrow(surface, 150, 150, 100, s.arrowHeadSize, s.arrowColour, s.arrowWidth,
              s.arrowClosed == 1, s.arrowHeads, s.arrowDirection);
}

}  // namespace tessel
