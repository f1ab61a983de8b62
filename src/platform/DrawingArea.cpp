#include "platform/DrawingArea.h"

#include <QMouseEvent>
#include <QPainter>

namespace tessel::platform {
namespace {
constexpr int kBorder = 1;
}

DrawingArea::DrawingArea(QWidget* parent, const QRect& geometry, bool border)
    : QWidget(parent),
      surface_(std::max(1, geometry.width() - (border ? 2 * kBorder : 0)),
               std::max(1, geometry.height() - (border ? 2 * kBorder : 0))),
      border_(border) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.clear(0xFFFFFF);
}

void DrawingArea::fill(Colour colour) {
    surface_.clear(colour);
    update();
}

void DrawingArea::setPixelRatio(int ratio) {
    ratio_ = std::max(1, ratio);
    setAreaGeometry(geometry());
}

void DrawingArea::setAreaGeometry(const QRect& geometry) {
    const int inset = border_ ? 2 * kBorder : 0;
    const QSize inner(std::max(1, geometry.width() - inset) * ratio_,
                      std::max(1, geometry.height() - inset) * ratio_);
    if (inner != surface_.size()) {
        surface_ = Surface(inner.width(), inner.height());
        surface_.clear(0xFFFFFF);
    }
    setGeometry(geometry);
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int inset = border_ ? kBorder : 0;
    if (ratio_ == 1) {
        painter.drawImage(inset, inset, surface_.image());
    } else {
        QImage shown = surface_.image();
        shown.setDevicePixelRatio(ratio_);
        painter.drawImage(QPointF(inset, inset), shown);
    }
    if (border_) {
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(QColor(0xFF, 0xFF, 0xFF));
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace tessel::platform
