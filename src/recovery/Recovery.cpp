#include "recovery/Recovery.h"

#include <QGuiApplication>
#include <QSessionManager>

#include "app/MainWindow.h"
#include "recovery/EndSignals.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryKeeper.h"
#include "recovery/RecoveryOffer.h"
#include "recovery/ScriptedChanges.h"

namespace tessel::recovery {

Recovery::Recovery(MainWindow& window)
    : window_(window),
      keeper_(std::make_unique<RecoveryKeeper>(window.state(), stateFolder(), [&window] {
          return window.menu()->phase() == MenuPhase::PictureLoaded;
      })) {
    RecoveryKeeper* keeper = keeper_.get();
    signals_ = std::make_unique<EndSignals>([keeper](int) {
        keeper->writeNow();
        QCoreApplication::exit(0);
    });
    // The end of the desktop session: whatever the question about unsaved work gave, work
    // still unsaved has its copy now. An end without that question keeps it.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, keeper, [keeper] { keeper->finish(); });
#ifndef QT_NO_SESSIONMANAGER
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(application, &QGuiApplication::commitDataRequest, keeper,
                         [keeper](QSessionManager&) { keeper->writeNow(); });
    }
#endif
}

Recovery::~Recovery() {
    scripted_.reset();
    keeper_->finish();
}

void Recovery::start() {
    offerAbandonedCopies(window_, *keeper_);
    scripted_ = ScriptedChanges::fromEnvironment(window_);
}

}  // namespace tessel::recovery
