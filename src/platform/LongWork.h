#pragma once
// Long work shows that it is working: the wait cursor while it runs, and for work that may take
// seconds a progress window that appears when it has run for half a second.

#include <QString>
#include <functional>

namespace tessel::platform {

// The wait cursor for as long as the object lives (does nothing without a GUI application).
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool shown_ = false;
};

// How long work may run before its progress window appears.
inline constexpr int kProgressDelayMs = 500;

// Runs the work on a thread of its own while this thread keeps the windows painted (but takes
// no input), with the wait cursor and, once kProgressDelayMs have passed, a window showing the
// label and a busy bar. Returns when the work is done. The work must not touch widgets, and
// reads only what it owns: keyboard and mouse wait meanwhile, but timers, queued calls and what
// the window system sends besides (a drop, a request to close) still arrive on this thread, so
// the caller keeps them from starting anything until the work is done.
void runLongWork(const QString& label, const std::function<void()>& work);

// For tests: every long work then takes this many milliseconds more on its thread, so that a
// test sees the progress window without work that is really slow. 0 (the start value) for none.
void setLongWorkDelayForTesting(int milliseconds);

}  // namespace tessel::platform
