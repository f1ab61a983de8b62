#pragma once
// At start, the copies that programs which did not end normally left behind are offered back,
// newest first: "Recuperar" opens one as unsaved work (with its file name for the next save, its
// zero position and paper settings) and ends the offers; "Descartar" removes it and goes on to
// the next; "Más tarde" leaves it, and the rest, for the next start. A copy that cannot be read
// is refused with a message and left where it is.

namespace tessel {
class MainWindow;
}

namespace tessel::recovery {

class RecoveryKeeper;
struct Copy;

void offerAbandonedCopies(MainWindow& window, RecoveryKeeper& keeper);

// The copy becomes the window's picture, as unsaved work.
void restoreCopy(MainWindow& window, Copy&& copy);

}  // namespace tessel::recovery
