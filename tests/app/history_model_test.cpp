// The undo history against a model of plain pictures: random changes with and without a push,
// undos, redos and trials begun, revised, kept and withdrawn, under a budget that makes old
// levels go, with the view's reduced copy following along.

#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "history/UndoHistory.h"
#include "support/NoisePicture.h"
#include "view/Mipmap.h"
#include "view/ViewCache.h"

namespace tessel {
namespace {

constexpr std::size_t kTileBytes = std::size_t(UndoHistory::kTileSize) * UndoHistory::kTileSize * 4;

// What the history should hold: the picture of every level, the levels to redo (nearest last)
// and the state number of each.
struct Model {
    std::vector<QImage> levels;
    std::vector<std::uint64_t> ids;
    std::vector<QImage> redo;
    std::vector<std::uint64_t> redoIds;
    // Drawn on without a push while levels to redo were kept: the history lets them go at the
    // next undo, redo, push or trial, the model at once.
    bool redoStale = false;
};

class HistoryModel {
  public:
    HistoryModel(const QImage& start, std::size_t budget) : history_(budget), budget_(budget) {
        history_.start(start);
        model_.levels = {start};
        model_.ids = {history_.stateId()};
        given_.push_back(history_.stateId());
        cache_.sync(history_);
    }

    static void drawBox(Surface& canvas, std::mt19937& random) {
        const int x = int(random() % 300) - 20, y = int(random() % 200) - 20;
        const Colour colour = Colour(random() & 0xFFFFFF);
        canvas.box(x, y, x + int(random() % 90), y + int(random() % 60), 0, colour, colour, 0);
    }

    void pushAndDraw(std::mt19937& random) {
        history_.push();
        drawBox(history_.current(), random);
        newLevel();
    }

    void drawWithoutPush(std::mt19937& random) {
        drawBox(history_.current(), random);
        // A box that missed the picture or matched its pixels changes nothing.
        if (currentPicture() == model_.levels.back()) return;
        model_.levels.back() = currentPicture();
        model_.redoStale = model_.redoStale || !model_.redo.empty();
        model_.redo.clear();
        model_.redoIds.clear();
    }

    void undo() {
        ASSERT_EQ(history_.undo(), model_.levels.size() > 1);
        model_.redoStale = false;
        if (model_.levels.size() == 1) return;
        model_.redo.push_back(model_.levels.back());
        model_.redoIds.push_back(model_.ids.back());
        model_.levels.pop_back();
        model_.ids.pop_back();
    }

    void redo() {
        ASSERT_EQ(history_.redo(), !model_.redo.empty());
        model_.redoStale = false;
        if (model_.redo.empty()) return;
        model_.levels.push_back(model_.redo.back());
        model_.ids.push_back(model_.redoIds.back());
        model_.redo.pop_back();
        model_.redoIds.pop_back();
        ++redone_;
    }

    // A trial drawn `revisions` times, then kept or withdrawn.
    void trial(std::mt19937& random, int revisions, bool keep) {
        const Model before = model_;
        const int redoLevels = model_.redoStale ? 0 : history_.redoLevels();
        const int dropped = history_.droppedLevels();
        const std::uint64_t id = history_.stateId();
        history_.beginTrial();
        model_.redoStale = false;
        ASSERT_TRUE(history_.inTrial());
        const std::uint64_t trialId = history_.stateId();
        for (const std::uint64_t old : given_) {
            ASSERT_NE(trialId, old);
        }
        for (int i = 0; i < revisions; ++i) {
            if (i > 0) history_.reviseTrial();
            // Each revision shows the level below with this drawing alone.
            Surface alone(model_.levels.back().copy());
            std::mt19937 same = random;
            drawBox(alone, same);
            drawBox(history_.current(), random);
            ASSERT_EQ(currentPicture(), std::as_const(alone).image());
            ASSERT_EQ(history_.level(), int(model_.levels.size()));
            ASSERT_EQ(history_.stateId(), trialId);
            ASSERT_NO_FATAL_FAILURE(checkView());
        }
        if (keep) {
            history_.keepTrial();
            model_.levels.back() = before.levels.back();
            newLevel(trialId);
        } else {
            history_.withdrawTrial();
            model_ = before;
            model_.redoStale = false;
            if (before.redoStale) {
                model_.redo.clear();
                model_.redoIds.clear();
            }
            ASSERT_EQ(history_.stateId(), id);
            ASSERT_EQ(history_.redoLevels(), redoLevels);
            ASSERT_EQ(history_.droppedLevels(), dropped);
        }
        ASSERT_FALSE(history_.inTrial());
        ++trials_;
    }

    // Everything the history says against the model.
    void check(bool everyLevel) {
        // Levels to redo that the budget let go are the farthest ones.
        if (!model_.redoStale) {
            ASSERT_LE(history_.redoLevels(), int(model_.redo.size()));
            const std::size_t gone = model_.redo.size() - std::size_t(history_.redoLevels());
            model_.redo.erase(model_.redo.begin(), model_.redo.begin() + std::ptrdiff_t(gone));
            model_.redoIds.erase(model_.redoIds.begin(),
                                 model_.redoIds.begin() + std::ptrdiff_t(gone));
        }
        ASSERT_EQ(history_.level(), int(model_.levels.size()) - 1);
        ASSERT_EQ(currentPicture(), model_.levels.back());
        ASSERT_EQ(history_.stateId(), model_.ids.back());
        ASSERT_LE(history_.heldBytes(), budget_);
        if (everyLevel) {
            for (int k = 0; k <= history_.level(); ++k) {
                ASSERT_EQ(history_.levelPicture(k), model_.levels[std::size_t(k)]) << "level " << k;
            }
        }
        ASSERT_NO_FATAL_FAILURE(checkView());
    }

    int dropped() const { return history_.droppedLevels(); }
    int redone() const { return redone_; }
    int trials() const { return trials_; }

  private:
    QImage currentPicture() const { return std::as_const(history_.current()).image(); }

    // The reduced view equals a third of the current picture reduced afresh, three by three.
    void checkView() {
        cache_.sync(history_);
        const QImage& picture = std::as_const(history_.current()).image();
        const Zoom third{1, 3};
        QImage fresh(ViewTransform(third, QPoint()).contentSize(picture.size()),
                     QImage::Format_RGB32);
        reduceArea(picture, 3.0, fresh, fresh.rect());
        ASSERT_EQ(cache_.reduced(picture, third), fresh);
    }

    // The current picture became a new level: the levels to redo go, and the oldest levels when
    // the budget made the history drop them.
    void newLevel(std::uint64_t id = 0) {
        model_.redo.clear();
        model_.redoIds.clear();
        model_.redoStale = false;
        model_.levels.push_back(currentPicture());
        model_.ids.push_back(history_.stateId());
        if (id != 0) {
            ASSERT_EQ(history_.stateId(), id);
        }
        for (const std::uint64_t old : given_) {
            ASSERT_NE(history_.stateId(), old);
        }
        given_.push_back(history_.stateId());
        const int newlyDropped = history_.droppedLevels() - dropped_;
        dropped_ = history_.droppedLevels();
        model_.levels.erase(model_.levels.begin() + 1, model_.levels.begin() + 1 + newlyDropped);
        model_.ids.erase(model_.ids.begin() + 1, model_.ids.begin() + 1 + newlyDropped);
    }

    UndoHistory history_;
    std::size_t budget_;
    ViewCache cache_;
    Model model_;
    std::vector<std::uint64_t> given_;
    int dropped_ = 0;
    int redone_ = 0;
    int trials_ = 0;
};

TEST(HistoryModel, RandomChangesUndosRedosAndTrialsKeepEveryLevelAndTheViewExact) {
    const QImage start = testing::noisePicture(256, 160, 5);
    const std::size_t budget = std::size_t(start.sizeInBytes()) + 48 * kTileBytes + 8192;
    HistoryModel model(start, budget);
    std::mt19937 random(41);
    for (int step = 0; step < 3000; ++step) {
        const unsigned action = random() % 10;
        if (action < 2) {
            ASSERT_NO_FATAL_FAILURE(model.undo()) << step;
        } else if (action < 4) {
            ASSERT_NO_FATAL_FAILURE(model.redo()) << step;
        } else if (action < 6) {
            ASSERT_NO_FATAL_FAILURE(model.pushAndDraw(random)) << step;
        } else if (action == 6) {
            ASSERT_NO_FATAL_FAILURE(model.drawWithoutPush(random)) << step;
        } else {
            const int revisions = int(random() % 4);  // none: withdrawn or kept as drawn
            ASSERT_NO_FATAL_FAILURE(model.trial(random, revisions, random() % 2 == 0)) << step;
        }
        ASSERT_NO_FATAL_FAILURE(model.check(step % 50 == 0)) << step << " action " << action;
    }
    EXPECT_GT(model.dropped(), 0);
    EXPECT_GT(model.redone(), 100);
    EXPECT_GT(model.trials(), 500);
}

}  // namespace
}  // namespace tessel
