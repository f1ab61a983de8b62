#pragma once
// A dialog run beside its window rather than over it: while it is open, the window below still
// takes clicks, drags and the wheel (its own commands wait until the dialog closes), and the
// dialog stays in front with the keyboard. The insertion dialogs run this way while their element
// is shown on the picture.

#include <QDialog>
#include <functional>

namespace tessel::platform {

// Shows the dialog and returns its result once it is closed, as exec() would.
int runBesideWindow(QDialog& dialog);

// With a watcher: runs the dialog beside its window and calls `watch` with the dialog's settings
// (its current()) once it is shown and after every change (its changed() signal). Without one:
// runs it modal, as it always ran.
template <typename Dialog, typename Settings>
int runWatched(Dialog& dialog, const std::function<void(const Settings&)>& watch) {
    if (!watch) return dialog.exec();
    QObject::connect(&dialog, &Dialog::changed, &dialog, [&dialog, &watch] {
        if (dialog.isVisible()) watch(dialog.current());
    });
    QObject::connect(
        &dialog, &QDialog::finished, &dialog,
        [&dialog] { QObject::disconnect(&dialog, &Dialog::changed, nullptr, nullptr); },
        Qt::DirectConnection);
    dialog.show();
    watch(dialog.current());
    return runBesideWindow(dialog);
}

}  // namespace tessel::platform
