#include "app/LivePreview.h"

namespace tessel {

LivePreview::LivePreview(AppState& state, QWidget* window) : state_(state) {
    if (!state.history.hasPicture() || state.history.inTrial()) return;
    host_ = dynamic_cast<PreviewHost*>(window);
    if (host_) host_->previewStarted(this);
}

LivePreview::~LivePreview() {
    withdraw();
    close();
}

void LivePreview::show(Draw draw) {
    if (!host_) return;
    draw_ = std::move(draw);
    if (showing()) {
        state_.history.reviseTrial();
    } else {
        state_.history.beginTrial();
        showing_ = true;
    }
    if (draw_) draw_(state_.history.current(), state_.zero);
    host_->previewChanged();
}

void LivePreview::moved() {
    if (showing_) show(draw_);
}

void LivePreview::withdraw() {
    if (!showing_) return;
    showing_ = false;
    state_.history.withdrawTrial();  // nothing when the program's ending took it back already
    if (host_) host_->previewChanged();
}

void LivePreview::handOver() {
    showing_ = false;
    close();
}

void LivePreview::close() {
    if (!host_) return;
    PreviewHost* host = host_;
    host_ = nullptr;
    host->previewEnded();
}

}  // namespace tessel
