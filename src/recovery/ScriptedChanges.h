#pragma once
// Changes made by a script rather than a user, for tests and stress runs only: with
// TESSEL_SCRIPTED_CHANGES="WIDTHxHEIGHT:PERIOD_MS[:COUNT]" the program makes a patterned paper
// of that size and then, every PERIOD_MS, one change chosen from a fixed sequence (boxes drawn
// with and without a push, undo, redo, a whole-picture change, mirrors and quarter turns),
// COUNT of them (no end without). With TESSEL_SCRIPTED_LOG=FILE it appends, for the paper and
// after every change, a line "STEP MILLISECONDS_SINCE_EPOCH SHA256" naming the picture then
// current by the SHA-256 of its rows of 32-bit pixels (blue, green, red, 255).

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <memory>

namespace tessel {
class MainWindow;
}

namespace tessel::recovery {

class ScriptedChanges : public QObject {
  public:
    // Nothing unless TESSEL_SCRIPTED_CHANGES is set and well formed.
    static std::unique_ptr<ScriptedChanges> fromEnvironment(MainWindow& window);
    ~ScriptedChanges() override;

  private:
    ScriptedChanges(MainWindow& window, QSize size, int period, int count, int log);
    void step();
    void record();

    MainWindow& window_;
    QTimer timer_;
    QRandomGenerator random_{20261209};
    int steps_ = 0;
    int count_ = 0;
    int log_ = -1;
};

}  // namespace tessel::recovery
