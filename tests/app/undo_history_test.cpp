#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <new>
#include <vector>

#include "app/GreyScale.h"
#include "history/TilePool.h"
#include "history/UndoHistory.h"
#include "support/NoisePicture.h"

namespace tessel {
namespace {

using testing::noisePicture;

constexpr int kTile = UndoHistory::kTileSize;
constexpr std::size_t kTileBytes = std::size_t(kTile) * kTile * 4;

void paintBox(UndoHistory& history, const QRect& box, QColor colour) {
    QPainter painter(&history.current().image());
    painter.fillRect(box, colour);
}

TEST(UndoHistory, NothingToUndoAtLevelZeroOrWithoutPicture) {
    UndoHistory history;
    EXPECT_FALSE(history.hasPicture());
    EXPECT_FALSE(history.undo());
    history.push();  // no picture: nothing to keep
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.storedBytes(), 0u);

    const QImage picture = noisePicture(70, 40);
    history.start(picture);
    EXPECT_TRUE(history.hasPicture());
    EXPECT_EQ(history.current().image().format(), QImage::Format_RGB32);
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.current().image(), picture);
}

TEST(UndoHistory, DrawingWithoutAPushDropsTheLevelsToRedoEvenWhenUndoneAtOnce) {
    // A and C each on a level of their own; C undone; B drawn on A's level without a push, then
    // undone too. The pictures there were: the start, A, A with C, A with B. Redoing gives A
    // with B back, and nothing after it: C was drawn on a picture without B.
    UndoHistory history;
    const QImage start = noisePicture(150, 100);
    history.start(start);
    const auto drawn = [](QImage picture, const QRect& box, QColor colour) {
        QPainter(&picture).fillRect(box, colour);
        return picture;
    };
    const QRect a(5, 5, 20, 20), b(60, 60, 30, 30), c(100, 10, 30, 30);
    history.push();
    paintBox(history, a, Qt::red);
    history.push();
    paintBox(history, c, Qt::blue);
    ASSERT_TRUE(history.undo());
    paintBox(history, b, Qt::green);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.current().image(), start);
    EXPECT_EQ(history.redoLevels(), 1);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(history.current().image(), drawn(drawn(start, a, Qt::red), b, Qt::green));
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(history.level(), 1);
}

TEST(UndoHistory, TwoChangesAndTwoUndosGiveBackThePicture) {
    UndoHistory history;
    const QImage picture = noisePicture(150, 100);
    history.start(picture);

    history.push();
    paintBox(history, QRect(10, 10, 50, 20), Qt::red);
    const QImage afterFirst = history.current().image().copy();
    history.push();
    paintBox(history, QRect(40, 5, 100, 90), Qt::blue);
    EXPECT_EQ(history.level(), 2);
    EXPECT_EQ(history.levelPicture(0), picture);
    EXPECT_EQ(history.levelPicture(1), afterFirst);
    EXPECT_EQ(history.levelPicture(2), history.current().image());

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.level(), 1);
    EXPECT_EQ(history.current().image(), afterFirst);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.current().image(), picture);
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(history.current().image(), picture);
}

// Everything a change may alter, to compare before and after one that failed.
struct HistoryShape {
    int level = 0;
    std::uint64_t state = 0, parent = 0;
    int redo = 0, dropped = 0;
    std::size_t stored = 0, held = 0;
    std::vector<QImage> pictures;  // levels 0..n, the current one last

    explicit HistoryShape(const UndoHistory& history)
        : level(history.level()),
          state(history.stateId()),
          parent(history.parentStateId()),
          redo(history.redoLevels()),
          dropped(history.droppedLevels()),
          stored(history.storedBytes()),
          held(history.heldBytes()) {
        for (int k = 0; k <= level; ++k) pictures.push_back(history.levelPicture(k));
    }
};

void expectSameShape(const HistoryShape& before, const HistoryShape& after, int round, int fault) {
    SCOPED_TRACE(::testing::Message() << "round " << round << ", tile " << fault << " failing");
    EXPECT_EQ(after.level, before.level);
    EXPECT_EQ(after.state, before.state);
    EXPECT_EQ(after.parent, before.parent);
    EXPECT_EQ(after.redo, before.redo);
    EXPECT_EQ(after.dropped, before.dropped);
    EXPECT_EQ(after.stored, before.stored);
    EXPECT_EQ(after.held, before.held);
    ASSERT_EQ(after.pictures.size(), before.pictures.size());
    for (std::size_t k = 0; k < before.pictures.size(); ++k) {
        EXPECT_EQ(after.pictures[k], before.pictures[k]) << "level " << k;
    }
}

// A change that finds no memory for the tiles it must keep (the k-th tile taken fails, for
// every k up to the last one it needs) leaves the history exactly as it was: its levels, their
// pictures, their numbers, what can be redone and what was dropped. The change then succeeds.
// Some rounds come right after two undos, with levels to redo and the tiles the undos left; the
// budget holds a few levels only, so that old ones are dropped on the way.
TEST(UndoHistory, AChangeWithoutMemoryForItsTilesLeavesTheHistoryAsItWas) {
    const QImage picture = noisePicture(150, 100);
    UndoHistory history(std::size_t(picture.sizeInBytes()) + 10 * (kTileBytes + 64));
    history.start(picture);
    int failures = 0;
    QRandomGenerator random(11);
    for (int round = 0; round < 14; ++round) {
        if (round % 4 == 3 && history.level() >= 2) {
            ASSERT_TRUE(history.undo());
            ASSERT_TRUE(history.undo());
        }
        const QRect box(int(random.bounded(120)), int(random.bounded(70)),
                        1 + int(random.bounded(70)), 1 + int(random.bounded(60)));
        paintBox(history, box, QColor::fromRgb(random.generate() | 0xFF000000u));
        const int levelBefore = history.level();
        const int droppedBefore = history.droppedLevels();
        for (int fault = 0;; ++fault) {
            ASSERT_LT(fault, 1000);
            int taken = 0;
            TilePool::setTakeFault([&taken, fault] { return taken++ == fault; });
            const HistoryShape before(history);
            bool failed = false;
            try {
                history.push();
            } catch (const std::bad_alloc&) {
                failed = true;
            }
            TilePool::setTakeFault({});
            if (!failed) break;
            ++failures;
            expectSameShape(before, HistoryShape(history), round, fault);
        }
        EXPECT_EQ(history.level(), levelBefore + 1 - (history.droppedLevels() - droppedBefore));
        EXPECT_EQ(history.redoLevels(), 0);
    }
    EXPECT_GT(failures, 10);
    EXPECT_GT(history.droppedLevels(), 0);
}

TEST(UndoHistory, GreyScaleThenUndoGivesTheColoursBack) {
    UndoHistory history;
    const QImage picture = noisePicture(97, 61);
    history.start(picture);
    history.push();
    toGreyScale(history.current());
    EXPECT_NE(history.current().image(), picture);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.current().image(), picture);
}

TEST(UndoHistory, ChangeAfterUndoReplacesTheDroppedLevel) {
    UndoHistory history;
    const QImage picture = noisePicture(80, 80);
    history.start(picture);
    history.push();
    paintBox(history, QRect(0, 0, 80, 80), Qt::green);
    history.undo();
    history.push();
    paintBox(history, QRect(3, 3, 4, 4), Qt::white);
    const QImage changed = history.current().image().copy();
    EXPECT_EQ(history.level(), 1);
    EXPECT_EQ(history.levelPicture(0), picture);
    EXPECT_EQ(history.levelPicture(1), changed);
    EXPECT_TRUE(history.levelPicture(2).isNull());
    EXPECT_TRUE(history.levelPicture(-1).isNull());
}

// A saved state is recognised again only by undoing back to it, never by a new change that
// happens to land on the same level; a dropped level's number goes with it.
TEST(UndoHistory, StateNumbersNameLevelsNotDepths) {
    UndoHistory history;
    EXPECT_EQ(history.stateId(), 0u);
    history.start(noisePicture(40, 40));
    const std::uint64_t opened = history.stateId();
    EXPECT_NE(opened, 0u);
    history.push();
    const std::uint64_t first = history.stateId();
    EXPECT_NE(first, opened);
    history.undo();
    EXPECT_EQ(history.stateId(), opened);
    history.push();
    EXPECT_NE(history.stateId(), first);
    EXPECT_NE(history.stateId(), opened);

    UndoHistory tiny(0);  // no room: only level 0 and the current picture stay
    tiny.start(noisePicture(40, 40));
    const std::uint64_t base = tiny.stateId();
    tiny.push();
    const std::uint64_t dropped = tiny.stateId();
    tiny.push();
    const std::uint64_t top = tiny.stateId();
    EXPECT_EQ(tiny.level(), 1);
    EXPECT_NE(top, dropped);
    ASSERT_TRUE(tiny.undo());
    EXPECT_EQ(tiny.stateId(), base);
    history.clear();
    EXPECT_EQ(history.stateId(), 0u);
}

// Undone levels come back in order, pixel for pixel and with their own state numbers, until a
// new change drops them; marking the picture as drawn without changing it keeps them.
TEST(UndoHistory, RedoBringsTheUndoneLevelsBackUntilANewChange) {
    UndoHistory history;
    const QImage picture = noisePicture(150, 100, 3);
    history.start(picture);
    std::vector<QImage> model{picture};
    std::vector<std::uint64_t> ids{history.stateId()};
    const auto change = [&](auto&& draw) {
        history.push();
        draw();
        model.push_back(std::as_const(history.current()).image().copy());
        ids.push_back(history.stateId());
    };
    change([&] { paintBox(history, QRect(10, 10, 40, 20), Qt::red); });
    change([&] { toGreyScale(history.current()); });
    change([&] { paintBox(history, QRect(100, 60, 3, 3), Qt::yellow); });
    EXPECT_FALSE(history.redo());  // nothing undone yet

    for (int k = 2; k >= 0; --k) {
        ASSERT_TRUE(history.undo());
        ASSERT_EQ(std::as_const(history.current()).image(), model[std::size_t(k)]) << k;
        EXPECT_EQ(history.stateId(), ids[std::size_t(k)]);
        EXPECT_EQ(history.redoLevels(), 3 - k);
    }
    for (int k = 1; k <= 3; ++k) {
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(history.level(), k);
        ASSERT_EQ(std::as_const(history.current()).image(), model[std::size_t(k)]) << k;
        EXPECT_EQ(history.stateId(), ids[std::size_t(k)]);
        for (int j = 0; j <= k; ++j) ASSERT_EQ(history.levelPicture(j), model[std::size_t(j)]);
    }
    EXPECT_FALSE(history.redo());

    // Back and forth, with the picture marked as drawn on but left as it was.
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.undo());
    history.current().markDirty(picture.rect());
    ASSERT_TRUE(history.redo());
    ASSERT_EQ(std::as_const(history.current()).image(), model[2]);
    ASSERT_TRUE(history.undo());
    ASSERT_EQ(std::as_const(history.current()).image(), model[1]);

    // A new change drops what was undone and gets a number of its own.
    history.push();
    paintBox(history, QRect(0, 0, 5, 5), Qt::green);
    EXPECT_EQ(history.redoLevels(), 0);
    EXPECT_FALSE(history.redo());
    for (const std::uint64_t id : ids) EXPECT_NE(history.stateId(), id);
    ASSERT_TRUE(history.undo());
    ASSERT_EQ(std::as_const(history.current()).image(), model[1]);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(std::as_const(history.current()).image().pixel(2, 2), qRgb(0, 255, 0));

    // Drawing without a push after an undo is a change too: the drawing stays, redo is gone.
    ASSERT_TRUE(history.undo());
    paintBox(history, QRect(50, 50, 2, 2), Qt::blue);
    const QImage drawn = std::as_const(history.current()).image().copy();
    EXPECT_FALSE(history.redo());
    EXPECT_EQ(std::as_const(history.current()).image(), drawn);
    history.push();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(std::as_const(history.current()).image(), drawn);
}

// Changes, undos and redos at random under a budget that makes levels go: every level, every
// level to redo and every state number stays as it was, and the history stays within its budget.
TEST(UndoHistory, UndoRedoAndChangesStayExactWithinTheBudget) {
    const QImage picture = noisePicture(256, 160, 5);
    const std::size_t budget = std::size_t(picture.sizeInBytes()) + 48 * kTileBytes + 8192;
    UndoHistory history(budget);
    history.start(picture);
    std::vector<QImage> model{picture}, redoModel;
    std::vector<std::uint64_t> ids{history.stateId()}, redoIds;
    std::vector<std::uint64_t> given{history.stateId()};
    QRandomGenerator random(29);
    int dropped = 0, redoDropped = 0, redone = 0;
    for (int step = 0; step < 600; ++step) {
        const int action = int(random.bounded(8));
        if (action < 2) {
            ASSERT_EQ(history.undo(), model.size() > 1) << step;
            if (model.size() > 1) {
                redoModel.push_back(model.back());
                redoIds.push_back(ids.back());
                model.pop_back();
                ids.pop_back();
            }
        } else if (action < 4) {
            ASSERT_EQ(history.redo(), !redoModel.empty()) << step;
            if (!redoModel.empty()) {
                model.push_back(redoModel.back());
                ids.push_back(redoIds.back());
                redoModel.pop_back();
                redoIds.pop_back();
                ++redone;
            }
        } else {
            history.push();
            redoModel.clear();
            redoIds.clear();
            Surface& canvas = history.current();
            const int x = int(random.bounded(300)) - 20, y = int(random.bounded(200)) - 20;
            const Colour colour = Colour(random.bounded(0x1000000));
            if (action == 7 && step % 3 == 0) {
                toGreyScale(canvas);
            } else {
                canvas.box(x, y, x + int(random.bounded(90)), y + int(random.bounded(60)), 0,
                           colour, colour, 0);
            }
            model.push_back(std::as_const(canvas).image().copy());
            ids.push_back(history.stateId());
            for (const std::uint64_t id : given) ASSERT_NE(history.stateId(), id) << step;
            given.push_back(history.stateId());
            const int newlyDropped = history.droppedLevels() - dropped;
            dropped = history.droppedLevels();
            model.erase(model.begin() + 1, model.begin() + 1 + newlyDropped);
            ids.erase(ids.begin() + 1, ids.begin() + 1 + newlyDropped);
        }
        // Levels to redo that the budget let go are the farthest ones.
        ASSERT_LE(history.redoLevels(), int(redoModel.size())) << step;
        const std::size_t gone = redoModel.size() - std::size_t(history.redoLevels());
        redoDropped += int(gone);
        redoModel.erase(redoModel.begin(), redoModel.begin() + std::ptrdiff_t(gone));
        redoIds.erase(redoIds.begin(), redoIds.begin() + std::ptrdiff_t(gone));

        ASSERT_EQ(history.level(), int(model.size()) - 1) << step;
        ASSERT_EQ(std::as_const(history.current()).image(), model.back()) << step;
        ASSERT_EQ(history.stateId(), ids.back()) << step;
        ASSERT_LE(history.heldBytes(), budget) << step;
        if (step % 40 == 0) {
            for (int k = 0; k <= history.level(); ++k) {
                ASSERT_EQ(history.levelPicture(k), model[std::size_t(k)]) << k << " at " << step;
            }
        }
    }
    EXPECT_GT(dropped, 0);
    EXPECT_GT(redoDropped, 0);
    EXPECT_GT(redone, 20);
    while (history.redo()) {
    }
    while (history.undo()) {
    }
    EXPECT_EQ(std::as_const(history.current()).image(), picture);
}

// Undoing keeps the undone tiles for redo without copying what the levels already hold; a new
// change gives them back.
TEST(UndoHistory, RedoLevelsCostNoMoreThanTheLevelsTheyWere) {
    const QImage picture = noisePicture(8 * kTile, 8 * kTile, 6);
    UndoHistory history;
    history.start(picture);
    for (int i = 0; i < 5; ++i) {
        history.push();
        paintBox(history, QRect(i * kTile, 0, kTile, 2 * kTile), Qt::magenta);  // 2 tiles
    }
    const std::size_t before = history.heldBytes();
    while (history.undo()) {
    }
    EXPECT_EQ(history.redoLevels(), 5);
    EXPECT_EQ(history.storedBytes(), 0u);
    // Only the last change, never stored as a level, needs tiles of its own (2 of them).
    EXPECT_GE(history.heldBytes(), before + 2 * kTileBytes);
    EXPECT_LE(history.heldBytes(), before + 2 * kTileBytes + 4096);
    history.push();
    EXPECT_EQ(history.redoLevels(), 0);
    EXPECT_LT(history.heldBytes(), std::size_t(picture.sizeInBytes()) + 64 * 1024);

    // With no room for the last change's tiles, its redo goes and the undo still works.
    const std::size_t tight = std::size_t(picture.sizeInBytes()) + 2 * 1024;
    UndoHistory small(tight + 2 * (kTileBytes + 256));
    small.start(picture);
    small.push();
    paintBox(small, QRect(0, 0, kTile, 2 * kTile), Qt::cyan);
    small.push();
    paintBox(small, QRect(0, 0, 8 * kTile, 8 * kTile), Qt::cyan);
    ASSERT_TRUE(small.undo());
    EXPECT_EQ(small.redoLevels(), 0);
    EXPECT_LE(small.heldBytes(), tight + 2 * (kTileBytes + 256));
    EXPECT_EQ(small.level(), 1);
    ASSERT_TRUE(small.undo());
    EXPECT_EQ(std::as_const(small.current()).image(), picture);
    EXPECT_EQ(small.redoLevels(), 1);
}

// Each change of a 3 x 2 picture writes its own number into a pixel, so every level is known.
TEST(UndoHistory, ChangeBeyondTheLastLevelDropsTheOldestAboveLevelZero) {
    UndoHistory history;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(0xFF000000u);
    history.start(picture);
    const int changes = UndoHistory::kMaxLevel + 1;
    for (int i = 1; i <= changes; ++i) {
        history.push();
        history.current().image().setPixel(i % 3, (i / 3) % 2, 0xFF000000u | quint32(i));
    }
    EXPECT_EQ(history.level(), UndoHistory::kMaxLevel);
    EXPECT_EQ(history.droppedLevels(), 1);
    EXPECT_EQ(history.levelPicture(0), picture);

    // Levels 1..5000 are the pictures after changes 2..5001; check them on the way down.
    QImage expected = picture;
    std::vector<QImage> afterChange(changes + 1);
    for (int i = 1; i <= changes; ++i) {
        expected.setPixel(i % 3, (i / 3) % 2, 0xFF000000u | quint32(i));
        afterChange[i] = expected.copy();
    }
    for (int k = UndoHistory::kMaxLevel; k >= 1; --k) {
        ASSERT_EQ(history.current().image(), afterChange[k + 1]) << "level " << k;
        ASSERT_TRUE(history.undo());
    }
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.current().image(), picture);
}

TEST(UndoHistory, LevelsShareTheTilesThatDidNotChange) {
    UndoHistory history;
    const QImage picture = noisePicture(1202, 900);
    history.start(picture);
    history.push();  // level 0 is now stored in full
    const std::size_t full = history.storedBytes();
    EXPECT_GE(full, std::size_t(1202) * 900 * 4);
    EXPECT_LT(full, std::size_t(1202) * 900 * 4 * 11 / 10);

    const std::size_t tiles = std::size_t((1202 + kTile - 1) / kTile) * ((900 + kTile - 1) / kTile);
    const std::size_t bookkeeping = tiles * 2 * sizeof(void*) + 1024;

    // A change inside one tile stores that tile only.
    paintBox(history, QRect(kTile + 2, kTile + 2, 5, 5), Qt::black);
    history.push();
    const std::size_t oneTile = history.storedBytes() - full;
    EXPECT_GE(oneTile, kTileBytes);
    EXPECT_LT(oneTile, kTileBytes + bookkeeping);

    // A change across a corner of four tiles stores those four.
    paintBox(history, QRect(3 * kTile - 2, 3 * kTile - 2, 4, 4), Qt::white);
    history.push();
    const std::size_t fourTiles = history.storedBytes() - full - oneTile;
    EXPECT_GE(fourTiles, 4 * kTileBytes);
    EXPECT_LT(fourTiles, 4 * kTileBytes + bookkeeping);

    // A change that leaves the pixels as they were costs bookkeeping only.
    history.push();
    EXPECT_LT(history.storedBytes() - full - oneTile - fourTiles, bookkeeping);

    // Undoing gives the memory back.
    history.undo();
    history.undo();
    EXPECT_EQ(history.storedBytes(), full + oneTile);
    history.undo();
    EXPECT_EQ(history.storedBytes(), full);
    history.undo();
    EXPECT_EQ(history.storedBytes(), 0u);
    EXPECT_EQ(history.current().image(), picture);
}

// Small changes drawn through the surface's own operations, undos between them and a budget that
// makes old levels go: every level reads back exactly as it was drawn.
TEST(UndoHistory, LevelsStayExactUnderSmallChangesUndosAndDrops) {
    const QImage picture = noisePicture(300, 200, 4);
    UndoHistory history(std::size_t(picture.sizeInBytes()) + 60 * kTileBytes);
    history.start(picture);
    std::vector<QImage> model{picture};  // the pictures of levels 0..n
    QRandomGenerator random(17);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(18);
    int dropped = 0;
    for (int step = 0; step < 400; ++step) {
        if (random.bounded(4) == 0) {
            const bool undone = history.undo();
            ASSERT_EQ(undone, model.size() > 1);
            if (undone) model.pop_back();
            ASSERT_EQ(history.current().image(), model.back()) << "undo at step " << step;
        } else {
            history.push();
            model.push_back(model.back());
            Surface& canvas = history.current();
            const int x = int(random.bounded(340)) - 20, y = int(random.bounded(240)) - 20;
            const Colour colour = Colour(random.bounded(0x1000000));
            canvas.setPenWidth(1 + int(random.bounded(6)));
            switch (step % 5) {
                case 0: canvas.line(x, y, x + 40, y - 25, colour); break;
                case 1: canvas.box(x, y, x + 30, y + 20, 25, colour, colour ^ 0xFF, 5); break;
                case 2:
                    canvas.selectFont(ResolvedFont{font, step % 2 ? 0 : 900});
                    canvas.setForeground(colour);
                    canvas.setBackground(-2);
                    canvas.moveTo(x, y);
                    canvas.print(QStringLiteral("Año"));
                    break;
                case 3: canvas.setPixel(x, y, colour); break;
                default: canvas.copyFrom(canvas, QRect(x, y, 45, 33), QPoint(y, x)); break;
            }
            model.back() = std::as_const(canvas).image().copy();
            const int newlyDropped = history.droppedLevels() - dropped;
            dropped = history.droppedLevels();
            model.erase(model.begin() + 1, model.begin() + 1 + newlyDropped);
        }
        ASSERT_EQ(history.level(), int(model.size()) - 1);
        if (step % 25 == 0) {
            for (int k = 0; k <= history.level(); ++k) {
                ASSERT_EQ(history.levelPicture(k), model[std::size_t(k)])
                    << "level " << k << " at step " << step;
            }
        }
    }
    EXPECT_GT(dropped, 0);
    while (history.undo()) model.pop_back();
    EXPECT_EQ(history.current().image(), picture);
}

// On a large picture a small change costs the tiles under it, not a pass over the picture.
TEST(UndoHistory, SmallChangeStoresOnlyTheTilesItTouched) {
    const QImage picture = noisePicture(2000, 1500, 8);
    UndoHistory history;
    history.start(picture);
    history.push();
    const std::size_t full = history.storedBytes();
    // A 100 x 100 box from (500, 400): tiles 15..18 across and 12..15 down, 16 in all.
    history.current().box(500, 400, 600, 500, 0, 0x00FF00, 0x00FF00, 0);
    history.push();
    const std::size_t change = history.storedBytes() - full;
    EXPECT_GE(change, 16 * kTileBytes);
    EXPECT_LE(change, 16 * kTileBytes * 11 / 10);
    ASSERT_TRUE(history.undo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.current().image(), picture);
    EXPECT_EQ(history.storedBytes(), 0u);
}

TEST(UndoHistory, OldestLevelsAboveLevelZeroGoWhenTheBudgetIsExceeded) {
    const QImage picture = noisePicture(4 * kTile, 4 * kTile);
    const std::size_t pictureBytes = std::size_t(picture.sizeInBytes());
    // Room for level 0 and a few one-tile changes.
    const std::size_t budget = pictureBytes + 6 * kTileBytes;
    UndoHistory history(budget);
    history.start(picture);

    std::vector<QImage> afterChange;
    // Every change repaints the same tile, so each level holds one tile of its own, which goes
    // when the level goes.
    for (int i = 0; i < 20; ++i) {
        history.push();
        paintBox(history, QRect(kTile + i, kTile, 3, 3),
                 QColor::fromRgb(0xFF000000u | quint32(i * 9973)));
        afterChange.push_back(history.current().image().copy());
        ASSERT_LE(history.storedBytes(), budget);
    }
    EXPECT_GT(history.droppedLevels(), 0);
    EXPECT_EQ(history.level() + history.droppedLevels(), 20);
    EXPECT_GE(history.level(), 2);
    EXPECT_EQ(history.levelPicture(0), picture);
    // The kept levels are the newest ones.
    for (int k = history.level(); k >= 1; --k) {
        ASSERT_EQ(history.levelPicture(k), afterChange[std::size_t(20 - history.level() + k - 1)]);
    }
    while (history.undo()) {
    }
    EXPECT_EQ(history.current().image(), picture);
}

TEST(UndoHistory, TinyBudgetKeepsLevelZeroAndTheCurrentPicture) {
    const QImage picture = noisePicture(100, 50);
    UndoHistory history(16);
    history.start(picture);
    for (int i = 0; i < 3; ++i) {
        history.push();
        paintBox(history, QRect(i * 10, 0, 10, 10), Qt::yellow);
    }
    EXPECT_EQ(history.level(), 1);
    EXPECT_EQ(history.droppedLevels(), 2);
    const QImage last = history.current().image().copy();
    EXPECT_EQ(history.levelPicture(1), last);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(history.current().image(), picture);
}

TEST(UndoHistory, StartAndClearDropTheLevels) {
    UndoHistory history;
    history.start(noisePicture(64, 64, 1));
    history.push();
    paintBox(history, QRect(0, 0, 5, 5), Qt::red);
    history.push();
    ASSERT_EQ(history.level(), 2);

    const QImage other = noisePicture(30, 90, 2);
    history.start(other);
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.storedBytes(), 0u);
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(history.current().image(), other);
    EXPECT_EQ(history.levelPicture(0), other);

    history.push();
    history.clear();
    EXPECT_FALSE(history.hasPicture());
    EXPECT_EQ(history.level(), 0);
    EXPECT_EQ(history.storedBytes(), 0u);
    EXPECT_EQ(history.droppedLevels(), 0);
    EXPECT_TRUE(history.current().isNull());
    EXPECT_FALSE(history.undo());
    EXPECT_TRUE(history.levelPicture(0).isNull());
}

TEST(UndoHistory, PictureOfAnotherFormatIsKeptAsRgb32) {
    QImage picture(5, 5, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 255));
    UndoHistory history;
    history.start(picture);
    EXPECT_EQ(history.current().image().format(), QImage::Format_RGB32);
    history.push();
    paintBox(history, QRect(1, 1, 2, 2), Qt::black);
    history.undo();
    EXPECT_EQ(history.current().image().pixel(2, 2), qRgb(10, 20, 30));
}

TEST(UndoHistory, DefaultBudgetIsAQuarterOfTheMachine) {
    const std::size_t budget = UndoHistory::defaultMemoryBudget();
    EXPECT_GT(budget, std::size_t(16) << 20);
}

}  // namespace
}  // namespace tessel
