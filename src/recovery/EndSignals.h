#pragma once
// SIGTERM, SIGHUP and SIGINT end the program cleanly: the signal handler only writes a byte to a
// pipe; the window thread reads it as an event and runs the program's own ending there.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tessel::recovery {

class EndSignals : public QObject {
  public:
    // Catches the three signals from now on; `end` runs on this thread, once, for the first
    // that arrives. Only one may exist at a time.
    explicit EndSignals(std::function<void(int signal)> end, QObject* parent = nullptr);
    // The signals get their default actions back.
    ~EndSignals() override;

  private:
    void readSignal();

    std::function<void(int)> end_;
    QSocketNotifier* notifier_ = nullptr;
    bool ended_ = false;
};

}  // namespace tessel::recovery
