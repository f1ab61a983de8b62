#include "platform/BesideWindow.h"

#include <QEventLoop>
#include <QPointer>

namespace tessel::platform {

int runBesideWindow(QDialog& dialog) {
    dialog.setWindowModality(Qt::NonModal);
    dialog.setResult(0);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (dialog.isVisible()) loop.exec(QEventLoop::DialogExec);
    return dialog.result();
}

}  // namespace tessel::platform
