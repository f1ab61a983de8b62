#pragma once
// A control that shows a surface of its own size: the canvas view, the rulers, colour swatches
// and previews. Drawing goes to the surface; repaint() shows it.

#include <QWidget>

#include "surface/Surface.h"

namespace tessel::platform {

class DrawingArea : public QWidget {
    Q_OBJECT
public:
    // A drawing area of the given client size; with a border the frame is drawn around it
    // (a sunken one-pixel border, as swatches have) and the surface fills what is inside.
    DrawingArea(QWidget* parent, const QRect& geometry, bool border = false);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    // Fills the surface with a colour and repaints (the usual way to show a swatch colour).
    void fill(Colour colour);
    // Moves and resizes the area; a new size gives it a new surface, white until drawn on.
    void setAreaGeometry(const QRect& geometry);
    // Device pixels per pixel of the area: the surface holds that many times the pixels each
    // way and is shown at the screen's own resolution. 1 unless set.
    void setPixelRatio(int ratio);
    int pixelRatio() const { return ratio_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Surface surface_;
    bool border_;
    int ratio_ = 1;
};

}  // namespace tessel::platform
