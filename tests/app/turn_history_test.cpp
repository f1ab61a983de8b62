// Turning and mirroring through the undo history: every pixel where the table of the turns puts
// it (worked out here pixel by pixel), undo and redo giving the pictures back exactly, levels of
// two sizes under a memory budget that makes old levels go, and the view's reduced copies
// following a turn.

#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>
#include <vector>

#include "view/Mipmap.h"
#include "history/Turn.h"
#include "history/UndoHistory.h"
#include "view/ViewCache.h"
#include "support/NoisePicture.h"

namespace tessel {
namespace {

using testing::noisePicture;

constexpr Turn kTurns[] = {Turn::Right, Turn::Left, Turn::Half, Turn::Horizontal, Turn::Vertical};

// The picture turned pixel by pixel: for W x H, (x, y) goes to (H-1-y, x) turning right,
// (y, W-1-x) turning left, (W-1-x, H-1-y) by half a turn, (W-1-x, y) mirrored left to right and
// (x, H-1-y) mirrored top to bottom.
QImage byHand(const QImage& picture, Turn turn) {
    const int w = picture.width(), h = picture.height();
    const bool quarter = turn == Turn::Right || turn == Turn::Left;
    QImage out(quarter ? h : w, quarter ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb colour = picture.pixel(x, y);
            switch (turn) {
                case Turn::Right:
                    out.setPixel(h - 1 - y, x, colour);
                    break;
                case Turn::Left:
                    out.setPixel(y, w - 1 - x, colour);
                    break;
                case Turn::Half:
                    out.setPixel(w - 1 - x, h - 1 - y, colour);
                    break;
                case Turn::Horizontal:
                    out.setPixel(w - 1 - x, y, colour);
                    break;
                case Turn::Vertical:
                    out.setPixel(x, h - 1 - y, colour);
                    break;
                case Turn::None:
                    out.setPixel(x, y, colour);
                    break;
            }
        }
    }
    return out;
}

const QImage& shown(const UndoHistory& history) {
    return history.current().image();
}

// Thin strips, single pixels, sizes that leave odd rows and columns beside the blocks of four
// and of 64, and a photograph large enough for memory of its own: each turn lands every pixel
// where the table says, and undo and redo give both pictures back with their state numbers.
TEST(TurnHistory, EveryTurnMovesEachPixelAsTheTableSaysAndUndoRedoGiveThePicturesBack) {
    const QSize sizes[] = {{1, 1},   {1, 9},   {9, 1},    {2, 2},    {2, 3},    {1, 700},
                           {700, 1}, {64, 64}, {131, 77}, {128, 68}, {33, 200}, {2050, 2100}};
    quint32 seed = 1;
    for (const QSize size : sizes) {
        for (const Turn turn : kTurns) {
            SCOPED_TRACE(::testing::Message()
                         << size.width() << " x " << size.height() << " turn " << int(turn));
            const QImage picture = noisePicture(size.width(), size.height(), ++seed);
            UndoHistory history;
            history.start(picture);
            // A small change first, so the turn starts from a stored level of tiles.
            history.push();
            history.current().setPixel(0, 0, 0x123456);
            const QImage before = shown(history).copy();
            const std::uint64_t beforeId = history.stateId();

            history.turn(turn);
            const QImage expected = byHand(before, turn);
            ASSERT_EQ(history.level(), 2);
            ASSERT_EQ(history.current().size(), expected.size());
            ASSERT_EQ(shown(history), expected);
            EXPECT_EQ(history.levelTurn(2), turn);
            EXPECT_EQ(history.levelTurn(1), Turn::None);
            const std::uint64_t turnedId = history.stateId();
            EXPECT_NE(turnedId, beforeId);
            EXPECT_EQ(history.levelPicture(1), before);
            EXPECT_EQ(history.levelPicture(0), picture);

            ASSERT_TRUE(history.undo());
            ASSERT_EQ(shown(history), before);
            EXPECT_EQ(history.stateId(), beforeId);
            ASSERT_TRUE(history.undo());
            ASSERT_EQ(shown(history), picture);
            ASSERT_TRUE(history.redo());
            ASSERT_TRUE(history.redo());
            ASSERT_EQ(shown(history), expected);
            EXPECT_EQ(history.stateId(), turnedId);
            EXPECT_EQ(history.levelPicture(1), before);

            // A change on the turned picture, undone and redone, then back to the start.
            history.push();
            history.current().setPixel(expected.width() - 1, expected.height() - 1, 0xABCDEF);
            const QImage drawn = shown(history).copy();
            ASSERT_TRUE(history.undo());
            ASSERT_EQ(shown(history), expected);
            ASSERT_TRUE(history.redo());
            ASSERT_EQ(shown(history), drawn);
            EXPECT_EQ(history.levelPicture(2), expected);
            while (history.undo()) {
            }
            ASSERT_EQ(shown(history), picture);
            EXPECT_EQ(history.storedBytes(), 0u);
        }
    }
}

TEST(TurnHistory, PointsMoveWithTheirPixelAndEachTurnHasItsInverse) {
    const QImage picture = noisePicture(5, 3, 3);
    for (const Turn turn : kTurns) {
        const QImage turned = byHand(picture, turn);
        EXPECT_EQ(turnedSize(turn, picture.size()), turned.size());
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                const QPoint to = turnedPoint(turn, QPoint(x, y), picture.size());
                EXPECT_EQ(turned.pixel(to), picture.pixel(x, y)) << int(turn) << " " << x << y;
                EXPECT_EQ(turnedPoint(inverse(turn), to, turned.size()), QPoint(x, y));
            }
        }
    }
    EXPECT_EQ(turnedPoint(Turn::Right, QPoint(0, 0), QSize(5, 3)), QPoint(2, 0));
    EXPECT_EQ(turnedPoint(Turn::Left, QPoint(0, 0), QSize(5, 3)), QPoint(0, 4));
}

// Drawing on the turned picture without a push belongs to the turn's level: undoing and redoing
// the turn keeps it. Without a picture nothing happens.
TEST(TurnHistory, DrawingAfterATurnWithoutAPushStaysWithTheTurn) {
    UndoHistory empty;
    empty.turn(Turn::Right);
    EXPECT_EQ(empty.level(), 0);
    EXPECT_FALSE(empty.hasPicture());

    UndoHistory history;
    const QImage picture = noisePicture(40, 70, 9);
    history.start(picture);
    history.turn(Turn::Left);
    history.current().setPixel(3, 4, 0x00FF00);
    const QImage drawn = shown(history).copy();
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(shown(history), picture);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(shown(history), drawn);
    EXPECT_EQ(history.levelPicture(0), picture);
}

// Small changes, turns of both kinds, undos and redos at random under a budget that holds a
// picture and some tiles: the oldest levels go as documented (level 1 into level 2 inside one
// segment, else level 0), every level and every level to redo stays exact, and undoing all the
// way down and redoing all the way up shows each kept level as it was.
TEST(TurnHistory, LevelsOfTwoSizesStayExactWithinTheBudget) {
    const QImage picture = noisePicture(150, 96, 5);
    const std::size_t budget = std::size_t(picture.sizeInBytes()) * 2 + 40 * 4096 + 16384;
    UndoHistory history(budget);
    history.start(picture);
    struct Kept {
        QImage picture;
        std::uint64_t id;
        bool quarter;  // made by a quarter turn: the first level of its segment
    };
    std::vector<Kept> model{{picture, history.stateId(), false}}, redoModel;
    QRandomGenerator random(41);
    int dropped = 0, turns = 0, levelZeroDrops = 0;
    const auto checkAll = [&](int step) {
        for (int k = 0; k <= history.level(); ++k) {
            ASSERT_EQ(history.levelPicture(k), model[std::size_t(k)].picture)
                << "level " << k << " at step " << step;
        }
    };
    for (int step = 0; step < 500; ++step) {
        const int action = int(random.bounded(10));
        if (action < 2) {
            ASSERT_EQ(history.undo(), model.size() > 1) << step;
            if (model.size() > 1) {
                redoModel.push_back(model.back());
                model.pop_back();
            }
        } else if (action < 4) {
            ASSERT_EQ(history.redo(), !redoModel.empty()) << step;
            if (!redoModel.empty()) {
                model.push_back(redoModel.back());
                redoModel.pop_back();
            }
        } else {
            const QImage before = shown(history).copy();
            Turn turn = Turn::None;
            if (action >= 8) {
                turn = kTurns[random.bounded(5)];
                history.turn(turn);
                ++turns;
                ASSERT_EQ(shown(history), byHand(before, turn)) << step;
            } else {
                history.push();
                const int x = int(random.bounded(160)) - 5, y = int(random.bounded(160)) - 5;
                const Colour colour = Colour(random.bounded(0x1000000));
                history.current().box(x, y, x + int(random.bounded(40)),
                                      y + int(random.bounded(30)), 0, colour, colour, 0);
            }
            redoModel.clear();
            model.push_back({shown(history).copy(), history.stateId(),
                             turn == Turn::Right || turn == Turn::Left});
            for (int d = history.droppedLevels() - dropped; d > 0; --d) {
                // Level 1 goes when it and level 2 lie in one segment; otherwise level 0.
                if (model.size() > 2 && !model[1].quarter && !model[2].quarter) {
                    model.erase(model.begin() + 1);
                } else {
                    model.erase(model.begin());
                    model.front().quarter = false;
                    ++levelZeroDrops;
                }
            }
            dropped = history.droppedLevels();
        }
        // Levels to redo that the budget let go are the farthest ones.
        ASSERT_LE(history.redoLevels(), int(redoModel.size())) << step;
        redoModel.erase(redoModel.begin(),
                        redoModel.begin() +
                            std::ptrdiff_t(redoModel.size() - std::size_t(history.redoLevels())));
        ASSERT_EQ(history.level(), int(model.size()) - 1) << step;
        ASSERT_EQ(shown(history), model.back().picture) << step;
        ASSERT_EQ(history.stateId(), model.back().id) << step;
        ASSERT_LE(history.heldBytes(), budget) << step;
        if (step % 50 == 0) checkAll(step);
    }
    EXPECT_GT(turns, 50);
    EXPECT_GT(dropped, 20);
    EXPECT_GT(levelZeroDrops, 5);
    while (history.redo()) model.push_back(redoModel.back()), redoModel.pop_back();
    checkAll(-1);
    for (int k = history.level(); k > 0; --k) {
        ASSERT_TRUE(history.undo());
        ASSERT_EQ(shown(history), model[std::size_t(k - 1)].picture) << "undo to " << k - 1;
        ASSERT_EQ(history.stateId(), model[std::size_t(k - 1)].id);
    }
    EXPECT_FALSE(history.undo());
    for (std::size_t k = 1; k < model.size(); ++k) {
        ASSERT_TRUE(history.redo());
        ASSERT_EQ(shown(history), model[k].picture) << "redo to " << k;
        ASSERT_EQ(history.stateId(), model[k].id);
    }
    EXPECT_FALSE(history.redo());
}

// A turn takes one picture of memory for its level, whatever the size; a budget of nothing keeps
// just the current segment's base and the current picture.
TEST(TurnHistory, ATurnStoresOnePictureAndNoBudgetKeepsOnlyTheCurrentSegment) {
    const QImage picture = noisePicture(320, 200, 8);
    const std::size_t pictureBytes = std::size_t(picture.sizeInBytes());
    UndoHistory history;
    history.start(picture);
    history.push();
    const std::size_t before = history.heldBytes();
    history.turn(Turn::Right);
    EXPECT_LE(history.heldBytes(), before + pictureBytes + 64 * 1024);

    UndoHistory tiny(0);
    tiny.start(picture);
    for (int i = 0; i < 4; ++i) tiny.turn(i % 2 ? Turn::Left : Turn::Right);
    EXPECT_EQ(tiny.level(), 0);
    EXPECT_EQ(tiny.droppedLevels(), 4);
    EXPECT_EQ(shown(tiny), picture);  // two turns right and two left
    EXPECT_LE(tiny.heldBytes(), pictureBytes + 64 * 1024);
    EXPECT_FALSE(tiny.undo());
}

// The reduced copies of the view follow turns (a square picture keeps its size) through undos and
// redos as a fresh reduction of the picture shown.
TEST(TurnHistory, TheViewsReducedCopiesFollowTurnsLikeAFreshReduction) {
    for (const QSize size : {QSize(96, 96), QSize(130, 70)}) {
        UndoHistory history;
        history.start(noisePicture(size.width(), size.height(), 12));
        ViewCache cache;
        cache.sync(history);
        const Zoom third{1, 3};
        cache.reduced(shown(history), third);
        QRandomGenerator random(3);
        for (int step = 0; step < 60; ++step) {
            const int roll = int(random.bounded(5));
            if (roll == 0) {
                history.undo();
            } else if (roll == 1) {
                history.redo();
            } else if (roll == 2) {
                history.push();
                history.current().box(5, 5, 20, 20, 0, 0x0000FF, 0x0000FF, 0);
            } else {
                history.turn(kTurns[random.bounded(5)]);
            }
            cache.sync(history);
            Mipmap fresh;
            fresh.rebuild(shown(history));
            for (int k = 1; k <= Mipmap::kLevels; ++k) {
                ASSERT_EQ(cache.mipmap().level(k), fresh.level(k)) << step << " level " << k;
            }
            QImage reduced(ViewTransform(third, QPoint()).contentSize(shown(history).size()),
                           QImage::Format_RGB32);
            reduceArea(shown(history), 3.0, reduced, reduced.rect());
            ASSERT_EQ(cache.reduced(shown(history), third), reduced) << step;
        }
    }
}

}  // namespace
}  // namespace tessel
