#pragma once
// Other threads still reading the pixels of a picture its owner is about to write. A write waits
// until the last reader is done rather than copying the whole picture away from under it (which
// is what an implicitly shared QImage would do, on the writer's thread). Readers begin on the
// owner's thread and end on their own; a reader must never wait for the owner while it reads,
// and one that can give up looks at writerWaiting() often and ends at once when it says so.

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tessel {

class SharedReads {
  public:
    // Owner's thread: one more reader.
    void begin() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++readers_;
        reading_.store(true, std::memory_order_relaxed);
    }
    // Reader's thread: done reading; a waiting writer goes on once no reader is left.
    void end() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (--readers_ == 0) reading_.store(false, std::memory_order_release);
        }
        done_.notify_all();
    }
    // Owner's thread, before a write: returns once no reader is left (at once when there is
    // none, as almost always).
    void waitForReaders() {
        if (!reading_.load(std::memory_order_acquire)) return;
        writerWaiting_.store(true, std::memory_order_relaxed);
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return readers_ == 0; });
        writerWaiting_.store(false, std::memory_order_relaxed);
    }
    // Reader's thread: whether the owner waits to write.
    bool writerWaiting() const { return writerWaiting_.load(std::memory_order_relaxed); }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    int readers_ = 0;
    std::atomic<bool> reading_{false};
    std::atomic<bool> writerWaiting_{false};
};

}  // namespace tessel
