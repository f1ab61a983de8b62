#include "view/CanvasWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>

#include "history/UndoHistory.h"

namespace tessel {
namespace {

constexpr int kScrollLine = 20;         // view pixels per wheel line
constexpr int kBandBytes = 256 * 1024;  // the most a paint draws at a time

// The device pixel ratio as a fraction (quarters are enough for any screen).
Zoom ratioOf(qreal dpr) {
    return Zoom::of(std::max(4L, std::lround(dpr * 4)), 4);
}

}  // namespace

CanvasWidget::CanvasWidget(ViewInput input, QWidget* parent, const QRect& geometry)
    : QWidget(parent), input_(input), snapshot_(1, 1) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    across_ = new QScrollBar(Qt::Horizontal, this);
    down_ = new QScrollBar(Qt::Vertical, this);
    across_->hide();
    down_->hide();
    connect(across_, &QScrollBar::valueChanged, this,
            [this](int x) { scrollTo(QPoint(x, transform_.scroll().y())); });
    connect(down_, &QScrollBar::valueChanged, this,
            [this](int y) { scrollTo(QPoint(transform_.scroll().x(), y)); });
}

QSize CanvasWidget::extent() const {
    const UndoHistory& history = input_.history;
    if (history.hasPicture()) return history.current().size();
    return {kViewWidth, kViewHeight};
}

QSize CanvasWidget::viewport() const {
    return {width() - (down_->isVisibleTo(this) ? down_->width() : 0),
            height() - (across_->isVisibleTo(this) ? across_->height() : 0)};
}

const Surface& CanvasWidget::surface() const {
    if (stale_ || snapshot_.size() != size()) {
        if (snapshot_.size() != size()) snapshot_ = Surface(width(), height());
        // Drawing the view does not change what the view shows: the cache only follows.
        auto* self = const_cast<CanvasWidget*>(this);
        self->render(snapshot_.imageFor(QRect()), QPoint(0, 0), transform_);
        stale_ = false;
    }
    return snapshot_;
}

void CanvasWidget::render(QImage& out, QPoint origin, const ViewTransform& transform) {
    ViewSource source;
    const UndoHistory& history = input_.history;
    if (history.hasPicture()) {
        source.picture = &history.current().image();
        const Zoom zoom = transform.zoom();
        if (zoom.num < zoom.den) source.reduced = &cache_.reduced(*source.picture, zoom);
    }
    renderView(out, origin, source, transform, input_.zero, input_.axes);
}

void CanvasWidget::refresh() {
    stale_ = true;
    update();
}

QRect CanvasWidget::viewRectOf(const QRect& area) const {
    const QPoint from = transform_.viewAt(area.topLeft());
    const QPoint to = transform_.viewAt(area.bottomRight() + QPoint(1, 1));
    return QRect(from, to).adjusted(-1, -1, 1, 1);
}

void CanvasWidget::pictureChanged() {
    const QRect changed = cache_.sync(input_.history);
    if (changed.isEmpty()) return;
    stale_ = true;
    update(viewRectOf(changed));
}

void CanvasWidget::newPicture() {
    cache_.sync(input_.history);
    transform_.setScroll(QPoint(0, 0));
    if (fit_) transform_.setZoom(fitZoom(size(), extent()));
    layoutScrollBars();
    refresh();
    emit viewChanged();
}

void CanvasWidget::zeroMoved(QPoint before) {
    stale_ = true;
    for (const QPoint& p : {before, input_.zero}) {
        const QPoint at = transform_.viewAt(p);
        update(QRect(at.x(), 0, 1, height()));
        update(QRect(0, at.y(), width(), 1));
    }
    // Follow the zero position when it leaves the view.
    const QSize port = viewport();
    const QPoint at = transform_.viewAt(input_.zero);
    QPoint scroll = transform_.scroll();
    const int marginX = std::min(32, port.width() / 4);
    const int marginY = std::min(32, port.height() / 4);
    if (at.x() < 0) scroll.rx() += at.x() - marginX;
    if (at.x() >= port.width()) scroll.rx() += at.x() - port.width() + 1 + marginX;
    if (at.y() < 0) scroll.ry() += at.y() - marginY;
    if (at.y() >= port.height()) scroll.ry() += at.y() - port.height() + 1 + marginY;
    scrollTo(scroll);
}

void CanvasWidget::fitToWindow() {
    fit_ = true;
    transform_ = ViewTransform(fitZoom(size(), extent()), QPoint(0, 0));
    layoutScrollBars();
    refresh();
    emit viewChanged();
}

void CanvasWidget::actualSize() {
    fit_ = false;
    setZoom(Zoom{}, QPointF(viewport().width() / 2.0, viewport().height() / 2.0));
}

void CanvasWidget::zoomIn() {
    fit_ = false;
    setZoom(zoomStepIn(transform_.zoom()),
            QPointF(viewport().width() / 2.0, viewport().height() / 2.0));
}

void CanvasWidget::zoomOut() {
    fit_ = false;
    setZoom(zoomStepOut(transform_.zoom()),
            QPointF(viewport().width() / 2.0, viewport().height() / 2.0));
}

void CanvasWidget::setZoom(Zoom zoom, QPointF anchor) {
    const Zoom old = transform_.zoom();
    // The picture point under the anchor, in picture pixels (a real number).
    const double px = (anchor.x() + transform_.scroll().x()) / old.factor();
    const double py = (anchor.y() + transform_.scroll().y()) / old.factor();
    const QPoint scroll(int(std::lround(px * zoom.factor() - anchor.x())),
                        int(std::lround(py * zoom.factor() - anchor.y())));
    transform_.setZoom(zoom);
    transform_.setScroll(QPoint(0, 0));
    layoutScrollBars();
    transform_.setScroll(transform_.clampedScroll(scroll, viewport(), extent()));
    layoutScrollBars();
    refresh();
    emit viewChanged();
}

void CanvasWidget::scrollTo(QPoint scroll) {
    scroll = transform_.clampedScroll(scroll, viewport(), extent());
    const QPoint delta = transform_.scroll() - scroll;
    if (delta.isNull()) return;
    transform_.setScroll(scroll);
    stale_ = true;
    const QSize port = viewport();
    if (std::abs(delta.x()) < port.width() && std::abs(delta.y()) < port.height() &&
        (delta.x() == 0 || delta.y() == 0)) {
        // Only the uncovered strip is drawn again; the rest, axes included (they belong to the
        // picture's place), moves on screen.
        QWidget::scroll(delta.x(), delta.y(), QRect(QPoint(0, 0), port));
    } else {
        update();
    }
    const QSignalBlocker a(across_);
    const QSignalBlocker d(down_);
    across_->setValue(scroll.x());
    down_->setValue(scroll.y());
    emit viewChanged();
}

void CanvasWidget::layoutScrollBars() {
    const QSize content = transform_.contentSize(extent());
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool needAcross = content.width() > width();
    bool needDown = content.height() > height();
    if (needAcross && !needDown) needDown = content.height() > height() - thickness;
    if (needDown && !needAcross) needAcross = content.width() > width() - thickness;
    const QSize port(width() - (needDown ? thickness : 0), height() - (needAcross ? thickness : 0));
    const QSignalBlocker a(across_);
    const QSignalBlocker d(down_);
    across_->setVisible(needAcross);
    down_->setVisible(needDown);
    across_->setGeometry(0, height() - thickness, port.width(), thickness);
    down_->setGeometry(width() - thickness, 0, thickness, port.height());
    across_->setRange(0, std::max(0, content.width() - port.width()));
    down_->setRange(0, std::max(0, content.height() - port.height()));
    across_->setPageStep(port.width());
    down_->setPageStep(port.height());
    across_->setSingleStep(kScrollLine);
    down_->setSingleStep(kScrollLine);
    transform_.setScroll(transform_.clampedScroll(transform_.scroll(), port, extent()));
    across_->setValue(transform_.scroll().x());
    down_->setValue(transform_.scroll().y());
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal dpr = devicePixelRatioF();
    const Zoom ratio = ratioOf(dpr);
    const ViewTransform device = transform_.scaled(ratio);
    for (const QRect& area : event->region()) {
        // The area in device pixels; the picture is drawn at the screen's own resolution.
        const QPoint from(int(floorDiv((long long)area.left() * ratio.num, ratio.den)),
                          int(floorDiv((long long)area.top() * ratio.num, ratio.den)));
        const QPoint to(int(ceilDiv((long long)(area.right() + 1) * ratio.num, ratio.den)),
                        int(ceilDiv((long long)(area.bottom() + 1) * ratio.num, ratio.den)));
        // A band of rows at a time, through one small buffer kept between paints: a buffer of
        // the whole area would be fresh memory at every paint, which costs more to touch than
        // the drawing does. Bands are whole multiples of the ratio's numerator high, so each
        // starts on a whole logical pixel below the first.
        const int width = to.x() - from.x();
        const int rows = std::max(1, kBandBytes / (4 * width) / int(ratio.num)) * int(ratio.num);
        if (band_.width() < width || band_.height() < rows) {
            band_ = QImage(std::max(width, band_.width()), std::max(rows, band_.height()),
                           QImage::Format_RGB32);
        }
        for (int top = from.y(); top < to.y(); top += rows) {
            QImage part(band_.bits(), width, std::min(rows, to.y() - top), band_.bytesPerLine(),
                        QImage::Format_RGB32);
            render(part, QPoint(from.x(), top), device);
            part.setDevicePixelRatio(ratio.factor());
            painter.drawImage(QPointF(from.x() / ratio.factor(), top / ratio.factor()), part);
        }
    }
    // The square between two scroll bars belongs to the window, not to the picture.
    if (across_->isVisibleTo(this) && down_->isVisibleTo(this)) {
        const QSize port = viewport();
        painter.fillRect(
            QRect(port.width(), port.height(), width() - port.width(), height() - port.height()),
            palette().window());
    }
}

void CanvasWidget::resizeEvent(QResizeEvent*) {
    if (fit_) transform_ = ViewTransform(fitZoom(size(), extent()), QPoint(0, 0));
    layoutScrollBars();
    stale_ = true;
    emit viewChanged();
}

void CanvasWidget::pick(QPointF position) {
    const Zoom ratio = ratioOf(devicePixelRatioF());
    const ViewTransform device = transform_.scaled(ratio);
    // The device pixel under the pointer, then the picture pixel shown there.
    const QPoint at(int(std::floor(position.x() * ratio.factor())),
                    int(std::floor(position.y() * ratio.factor())));
    const QSize size = extent();
    const QPoint p = device.pictureAt(at);
    emit pixelPicked(
        QPoint(std::clamp(p.x(), 0, size.width() - 1), std::clamp(p.y(), 0, size.height() - 1)));
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pick(event->position());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) pick(event->position());
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A step of the zoom ladder for each whole notch, however finely it comes.
        if ((zoomTurn_ > 0 && delta.y() < 0) || (zoomTurn_ < 0 && delta.y() > 0)) zoomTurn_ = 0;
        zoomTurn_ += delta.y();
        event->accept();
        if (std::abs(zoomTurn_) < 120) return;
        const bool in = zoomTurn_ > 0;
        zoomTurn_ %= 120;
        fit_ = false;
        setZoom(in ? zoomStepIn(transform_.zoom()) : zoomStepOut(transform_.zoom()),
                event->position());
        return;
    }
    // A touchpad says how many pixels it moved; a wheel, in eighths of a degree, how far it
    // turned: three lines a notch.
    QPoint step = -event->pixelDelta();
    if (step.isNull()) {
        const int lines = QApplication::wheelScrollLines();
        step =
            QPoint(-delta.x() * lines * kScrollLine / 120, -delta.y() * lines * kScrollLine / 120);
    }
    if (event->modifiers() & Qt::ShiftModifier) step = QPoint(step.y() + step.x(), 0);
    scrollTo(transform_.scroll() + step);
    event->accept();
}

}  // namespace tessel
