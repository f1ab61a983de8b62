#include "recovery/CopyJob.h"

#include <utility>

#include "platform/SafeFile.h"

namespace tessel::recovery {

CopyJob::CopyJob(std::unique_ptr<UndoHistory::Snapshot> snapshot, CopyDescription description,
                 QString path)
    : snapshot_(std::move(snapshot)), description_(std::move(description)), path_(std::move(path)) {
    description_.size = snapshot_->size();
}

CopyJob::~CopyJob() {
    wait();
}

void CopyJob::start(std::function<void()> finished) {
    worker_ = std::thread([this, finished = std::move(finished)] {
        work();
        finished();
    });
}

bool CopyJob::run() {
    work();
    return written_;
}

bool CopyJob::wait() {
    if (worker_.joinable()) worker_.join();
    return written_;
}

void CopyJob::work() {
    written_ = false;
    const QImage picture = snapshot_->picture();
    if (picture.isNull()) return;
    const std::optional<QByteArray> bytes = encodeCopy(picture, description_);
    written_ = bytes && platform::writeFileSafely(path_, *bytes);
}

}  // namespace tessel::recovery
