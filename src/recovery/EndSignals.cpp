#include "recovery/EndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace tessel::recovery {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int pipeEnds[2] = {-1, -1};

// Only what is async-signal-safe: one byte, the signal's number, into the pipe.
extern "C" void onSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

}  // namespace

EndSignals::EndSignals(std::function<void(int)> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals() {
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void EndSignals::readSignal() {
    unsigned char number = 0;
    int signal = 0;
    while (::read(pipeEnds[0], &number, 1) == 1) {
        if (signal == 0) signal = number;
    }
    if (signal == 0 || ended_) return;
    ended_ = true;
    if (end_) end_(signal);
}

}  // namespace tessel::recovery
