// Snapshots of the undo history's current picture: the picture they give is the one current when
// they were taken, whatever the history did since (changes, undos, redos, turns, drops for the
// budget, a new picture); holding one changes nothing the history reports once it is released;
// a large change is copied in slices; and another thread can read one while changes go on.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

#include "history/UndoHistory.h"
#include "history/UndoHistorySnapshot.h"
#include "support/NoisePicture.h"

namespace tessel {
namespace {

using testing::noisePicture;

using Snapshot = UndoHistory::Snapshot;
constexpr int kTile = UndoHistory::kTileSize;

std::unique_ptr<Snapshot> completeSnapshot(UndoHistory& history) {
    auto snapshot = std::make_unique<Snapshot>(history);
    EXPECT_TRUE(snapshot->copyDrawnTiles(history, Snapshot::Clock::time_point::max()));
    return snapshot;
}

// One step of work on the history, chosen by `random`, the same on every history given the
// same generator state.
void randomStep(UndoHistory& history, QRandomGenerator& random) {
    const QSize size = history.current().size();
    const auto box = [&] {
        const int x = int(random.bounded(std::max(1, size.width())));
        const int y = int(random.bounded(std::max(1, size.height())));
        return QRect(x, y, 1 + int(random.bounded(70)), 1 + int(random.bounded(50)));
    };
    const QColor colour = QColor::fromRgb(random.generate() | 0xFF000000u);
    switch (random.bounded(12)) {
        case 0:
        case 1:
        case 2: {
            history.push();
            const QRect area = box();
            QPainter(&history.current().imageFor(area)).fillRect(area, colour);
            break;
        }
        case 3:  // drawn without a push
            QPainter(&history.current().image()).fillRect(box(), colour);
            break;
        case 4:
        case 5:
            history.undo();
            break;
        case 6:
            history.redo();
            break;
        case 7:
            history.turn(Turn(1 + random.bounded(5)));
            break;
        case 8:  // a change of the whole picture
            history.push();
            history.current().image().invertPixels();
            break;
        case 9:
            history.push();
            break;
        case 10:
            if (random.bounded(8) == 0) history.start(noisePicture(size.width(), size.height(), 3));
            break;
        default:
            for (int i = 0; i < 3; ++i) history.undo();
            break;
    }
}

TEST(UndoHistorySnapshot, GivesThePictureCurrentWhenTakenWhateverTheHistoryDoesAfter) {
    for (const QSize size : {QSize(1, 1), QSize(2, 2), QSize(kTile + 1, kTile - 1),
                             QSize(3 * kTile, 2 * kTile), QSize(150, 100)}) {
        SCOPED_TRACE(::testing::Message() << size.width() << " x " << size.height());
        // A budget of a few whole pictures, so that old levels are dropped on the way.
        const std::size_t budget = std::size_t(size.width()) * size.height() * 4 * 3 + 200000;
        UndoHistory history(budget);
        UndoHistory twin(budget);  // the same steps, never a snapshot
        history.start(noisePicture(size.width(), size.height(), 1));
        twin.start(noisePicture(size.width(), size.height(), 1));
        QRandomGenerator steps(11), twinSteps(11);
        struct Held {
            std::unique_ptr<Snapshot> snapshot;
            QImage picture;
        };
        std::deque<Held> held;
        for (int i = 0; i < 400; ++i) {
            randomStep(history, steps);
            randomStep(twin, twinSteps);
            ASSERT_EQ(history.current().image(), twin.current().image()) << "step " << i;
            auto snapshot = completeSnapshot(history);
            ASSERT_EQ(snapshot->size(), history.current().size());
            EXPECT_EQ(snapshot->stateId(), history.stateId());
            EXPECT_TRUE(snapshot->isCurrent(history));
            ASSERT_EQ(snapshot->picture(), history.current().image()) << "step " << i;
            held.push_back({std::move(snapshot), history.current().image().copy()});
            // Some are kept over the next steps, and give their picture when let go.
            if (held.size() > std::size_t(i % 5)) {
                ASSERT_EQ(held.front().snapshot->picture(), held.front().picture) << "step " << i;
                held.pop_front();
            }
        }
        for (const Held& h : held) EXPECT_EQ(h.snapshot->picture(), h.picture);
        held.clear();
        EXPECT_EQ(history.level(), twin.level());
        EXPECT_EQ(history.storedBytes(), twin.storedBytes());
        EXPECT_EQ(history.heldBytes(), twin.heldBytes());
        EXPECT_EQ(history.droppedLevels(), twin.droppedLevels());
        for (int k = 0; k <= history.level(); ++k) {
            ASSERT_EQ(history.levelPicture(k), twin.levelPicture(k)) << "level " << k;
        }
    }
}

TEST(UndoHistorySnapshot, StoredBytesComeBackToNothingWhenLevelsGoWhileASnapshotHoldsThem) {
    UndoHistory history;
    const QImage start = noisePicture(5 * kTile, 4 * kTile, 2);
    history.start(start);
    for (int i = 0; i < 3; ++i) {
        history.push();
        QPainter(&history.current().image()).fillRect(QRect(i * 40, 10, 50, 90), Qt::red);
    }
    history.undo();  // a level waiting as pending
    auto snapshot = completeSnapshot(history);
    const QImage taken = history.current().image().copy();
    history.undo();
    history.undo();
    EXPECT_EQ(history.level(), 0);
    history.push();  // drops the level to redo
    history.undo();
    EXPECT_EQ(history.storedBytes(), 0u);
    EXPECT_EQ(snapshot->picture(), taken);
    history.clear();
    EXPECT_EQ(snapshot->picture(), taken);
    snapshot.reset();
    EXPECT_EQ(history.heldBytes(), 0u);
}

TEST(UndoHistorySnapshot, WithoutAPictureItIsEmpty) {
    UndoHistory history;
    Snapshot snapshot(history);
    EXPECT_TRUE(snapshot.isEmpty());
    EXPECT_FALSE(snapshot.isCurrent(history));
    EXPECT_TRUE(snapshot.picture().isNull());
}

TEST(UndoHistorySnapshot, AChangeOfTheWholePictureIsCopiedInSlices) {
    UndoHistory history;
    const int across = 15, down = 15;  // 225 tiles, 900 KB: still copied by the window thread
    history.start(noisePicture(across * kTile, down * kTile, 4));
    history.push();
    history.current().image().invertPixels();
    const QImage changed = history.current().image().copy();

    Snapshot snapshot(history);
    EXPECT_EQ(snapshot.copiedTiles(), std::size_t(across * down));
    // A deadline already past: one slice at a time, never the whole at once.
    int slices = 0;
    while (!snapshot.copyDrawnTiles(history, Snapshot::Clock::time_point::min())) {
        ++slices;
        EXPECT_FALSE(snapshot.isComplete());
        EXPECT_TRUE(snapshot.picture().isNull());
        ASSERT_LT(slices, across * down);
    }
    EXPECT_GE(slices, 2);
    EXPECT_TRUE(snapshot.isComplete());
    EXPECT_EQ(snapshot.picture(), changed);

    // A small change: only its tiles are copied, the rest is shared.
    history.push();
    QPainter(&history.current().imageFor(QRect(0, 0, kTile + 1, 1)))
        .fillRect(QRect(0, 0, kTile + 1, 1), Qt::blue);
    Snapshot small(history);
    EXPECT_EQ(small.copiedTiles(), 2u);
}

TEST(UndoHistorySnapshot, IsCurrentUntilThePictureChanges) {
    UndoHistory history;
    history.start(noisePicture(100, 80, 5));
    const auto draw = [&] {
        QPainter(&history.current().imageFor(QRect(3, 3, 5, 5))).fillRect(3, 3, 5, 5, Qt::green);
    };
    const std::vector<std::function<void()>> changes = {
        [&] { history.push(); },
        draw,
        [&] { history.undo(); },
        [&] { history.redo(); },
        [&] { history.turn(Turn::Horizontal); },
        [&] { history.start(noisePicture(100, 80, 6)); },
        [&] { history.clear(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (!history.hasPicture()) history.start(noisePicture(100, 80, 6));
        if (i == 3) {
            history.push();
            draw();
            history.undo();
        }
        Snapshot snapshot(history);
        EXPECT_TRUE(snapshot.isCurrent(history)) << i;
        changes[i]();
        EXPECT_FALSE(snapshot.isCurrent(history)) << i;
    }
}

TEST(UndoHistorySnapshot, AnotherThreadPutsThePictureTogetherWhileChangesGoOn) {
    UndoHistory history(std::size_t(8) << 20);
    history.start(noisePicture(400, 300, 8));
    QRandomGenerator steps(21);
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 5; ++i) randomStep(history, steps);
        auto snapshot = completeSnapshot(history);
        const QImage expected = history.current().image().copy();
        QImage read;
        std::thread reader([&read, s = snapshot.get()] { read = s->picture(); });
        for (int i = 0; i < 30; ++i) randomStep(history, steps);
        reader.join();
        EXPECT_EQ(read, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace tessel
