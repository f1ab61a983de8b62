#pragma once
// Nothing lost, whatever happens: the program's window gets its recovery copies (kept in the
// state folder while work is unsaved, offered back at the next start when the program did not
// end normally), and SIGTERM, SIGHUP, SIGINT and a session end that allows no question write
// the copy at once before the program ends with status 0.

#include <memory>

namespace tessel {
class MainWindow;
}

namespace tessel::recovery {

class EndSignals;
class RecoveryKeeper;
class ScriptedChanges;

class Recovery {
  public:
    // Watches the window's state from now on; the signals are caught from now on.
    explicit Recovery(MainWindow& window);
    // The program ends normally: copies of work the user settled go.
    ~Recovery();
    Recovery(const Recovery&) = delete;
    Recovery& operator=(const Recovery&) = delete;

    // Once the window is shown: the offer of copies left behind, then (for tests and scripts
    // only) the changes TESSEL_SCRIPTED_CHANGES asks for.
    void start();

    RecoveryKeeper& keeper() { return *keeper_; }

  private:
    MainWindow& window_;
    std::unique_ptr<RecoveryKeeper> keeper_;
    std::unique_ptr<EndSignals> signals_;
    std::unique_ptr<ScriptedChanges> scripted_;
};

}  // namespace tessel::recovery
