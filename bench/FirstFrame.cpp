// Loaded with LD_PRELOAD into a Qt Widgets program by bench_startup: once the event loop has
// painted the first frame (the first paint event and the round of events after it), writes the
// monotonic clock in nanoseconds to the file named by TESSEL_FIRST_FRAME_FILE and ends the
// program. It takes the place of QApplication::exec() and then calls the real one.

#include <dlfcn.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

void reportAndQuit() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (const char* file = std::getenv("TESSEL_FIRST_FRAME_FILE")) {
        if (std::FILE* out = std::fopen(file, "w")) {
            std::fprintf(out, "%lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000000LL +
                             static_cast<long long>(now.tv_nsec));
            std::fclose(out);
        }
    }
    QCoreApplication::exit(0);
}

class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, &reportAndQuit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

}  // namespace

int QApplication::exec() {
    static FirstPaint filter;
    qApp->installEventFilter(&filter);
    using Exec = int (*)();
    const auto real = reinterpret_cast<Exec>(dlsym(RTLD_NEXT, "_ZN12QApplication4execEv"));
    return real ? real() : QGuiApplication::exec();
}
