#pragma once
// The canvas view: a window onto the current picture that zooms and scrolls. It draws only what
// is exposed, from the picture or, zoomed out, from the reduced copy its cache keeps beside the
// undo history. Scroll bars show over its right and bottom edges when the picture at the current
// zoom is larger than the view. A click (or a drag) picks the picture pixel under the pointer.

#include <QWidget>

#include "view/CanvasView.h"
#include "view/ViewCache.h"
#include "view/ViewTransform.h"

class QScrollBar;

namespace tessel {

class UndoHistory;
struct CutSettings;

// What the view shows, owned by the window: the history with the current picture, the zero
// position its axes cross at, and the settings holding the axes' colours.
struct ViewInput {
    const UndoHistory& history;
    const QPoint& zero;
    const CutSettings& axes;
};

class CanvasWidget : public QWidget {
    Q_OBJECT
  public:
    CanvasWidget(ViewInput input, QWidget* parent, const QRect& geometry);

    // The whole view as it is drawn on a screen of pixel ratio 1 (made when asked for).
    const Surface& surface() const;

    const ViewTransform& transform() const { return transform_; }
    bool fitsWindow() const { return fit_; }
    // The part of the view not covered by scroll bars.
    QSize viewport() const;
    // The picture size the view spans: the picture's, or 1200 x 900 without one.
    QSize extent() const;

    // After a change of the current picture (insertion, undo, grey scale).
    void pictureChanged();
    // After a new picture (opened, new paper, "Nuevo"): zoom to fit if that is on, scroll home.
    void newPicture();
    // After the zero position moved from `before`: the axes move, and the view follows it.
    void zeroMoved(QPoint before);
    // After the axis colours changed.
    void axesChanged() { refresh(); }

    void fitToWindow();
    void actualSize();
    void zoomIn();
    void zoomOut();
    // The zoom changed so that the picture point under view point `anchor` stays there.
    void setZoom(Zoom zoom, QPointF anchor);
    void scrollTo(QPoint scroll);

  signals:
    // A click or drag in the view picked this picture pixel (inside the picture).
    void pixelPicked(QPoint picture);
    // The zoom, the scroll or the view's size changed.
    void viewChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void pick(QPointF position);
    void refresh();
    void layoutScrollBars();
    void render(QImage& out, QPoint origin, const ViewTransform& transform);
    QRect viewRectOf(const QRect& pictureArea) const;

    ViewInput input_;
    ViewCache cache_;
    ViewTransform transform_;
    bool fit_ = false;
    QScrollBar* across_ = nullptr;
    QScrollBar* down_ = nullptr;
    QImage band_;  // the rows a paint draws at a time
    // Ctrl+wheel turns not yet worth a zoom step (a notch is 120; touchpads and fine wheels send
    // parts of one).
    int zoomTurn_ = 0;
    mutable Surface snapshot_;
    mutable bool stale_ = true;
};

}  // namespace tessel
