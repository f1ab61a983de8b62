#pragma once
// The element of an open insertion dialog shown on the picture at the zero position, exactly as
// "Aceptar" will draw it: a trial of the undo history, drawn again at every change of a setting
// and at every move of the zero position, and withdrawn without a trace when the dialog is
// cancelled. The window that shows the picture hosts it: while it is open, a click in the view
// moves the zero position and the window's own commands wait.

#include <QPoint>
#include <QWidget>
#include <functional>

#include "app/AppState.h"

namespace tessel {

class LivePreview;

// What the window does for an open preview.
class PreviewHost {
  public:
    virtual ~PreviewHost() = default;
    // A preview opens: clicks in the view move the zero position (and the element with it); the
    // menus and the other commands wait until previewEnded().
    virtual void previewStarted(LivePreview* preview) = 0;
    // The picture changed under the preview: the view is brought up to date.
    virtual void previewChanged() = 0;
    virtual void previewEnded() = 0;
};

class LivePreview {
  public:
    // Draws the element with its reference point at the zero position; false when it drew
    // nothing.
    using Draw = std::function<bool(Surface& canvas, QPoint zero)>;

    // A preview for an insertion on `state`'s picture, shown by `window` when that window hosts
    // previews and there is a picture; otherwise it stays off and the dialog runs as before.
    LivePreview(AppState& state, QWidget* window);
    ~LivePreview();
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    bool enabled() const { return host_ != nullptr; }
    // Whether the picture holds the previewed element's trial now.
    bool showing() const { return showing_ && state_.history.inTrial(); }

    // The watcher a dialog calls with its settings after each change: `drawWith` gives the
    // drawing of the element for those settings. Empty when the preview is off.
    template <typename Settings>
    std::function<void(const Settings&)> follow(std::function<Draw(const Settings&)> drawWith) {
        if (!enabled()) return {};
        return [this, drawWith](const Settings& settings) { show(drawWith(settings)); };
    }

    // The element drawn anew for this drawing, in place of the one shown.
    void show(Draw draw);
    // The zero position moved: the element shown is drawn again there.
    void moved();
    // The element taken off the picture; the history is as it was before the preview.
    void withdraw();
    // Hands the open trial over to the insertion that commits it; the preview closes.
    void handOver();

  private:
    void close();

    AppState& state_;
    PreviewHost* host_ = nullptr;
    Draw draw_;
    bool showing_ = false;
};

}  // namespace tessel
