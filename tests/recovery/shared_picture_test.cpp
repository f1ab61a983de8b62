// A change of the whole picture is not copied by the window thread: the recovery copy's thread
// reads the shared current picture, and a write to it meanwhile either waits for that read
// instead of copying the picture away from under it, or (by default) makes the reader give up.

#include <gtest/gtest.h>

#include <QImage>
#include <atomic>
#include <chrono>
#include <thread>

#include "history/UndoHistory.h"
#include "history/UndoHistorySnapshot.h"
#include "support/NoisePicture.h"

namespace tessel {
namespace {

using Snapshot = UndoHistory::Snapshot;
constexpr int kTile = UndoHistory::kTileSize;

TEST(SharedPicture, AWriteWaitsForTheReaderAndTheReaderGetsThePictureOfItsMoment) {
    UndoHistory history;
    history.start(testing::noisePicture(40 * kTile, 30 * kTile, 21));  // 1,200 tiles
    history.push();
    history.current().image().invertPixels();  // every tile drawn, not yet stored
    const QImage inverted = std::as_const(history.current()).image().copy();
    const uchar* pixels = std::as_const(history.current()).image().constBits();

    auto snapshot = std::make_unique<Snapshot>(history);
    // Nothing is left for the window thread to copy.
    EXPECT_TRUE(snapshot->copyDrawnTiles(history, Snapshot::Clock::time_point::min()));
    EXPECT_TRUE(snapshot->isComplete());
    snapshot->setYieldToWrites(false);

    std::atomic<bool> started{false};
    QImage read;
    std::thread reader([&] {
        started = true;
        // Late on purpose, so that the write below comes first and has to wait.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        read = snapshot->picture();
    });
    while (!started) std::this_thread::yield();
    history.current().image().invertPixels();  // back to the noise, once the reader is done
    reader.join();

    EXPECT_EQ(read, inverted);
    EXPECT_FALSE(snapshot->yielded());
    // The write went on in the picture's own memory: nothing was copied on this thread.
    EXPECT_EQ(std::as_const(history.current()).image().constBits(), pixels);
    EXPECT_EQ(std::as_const(history.current()).image(), testing::noisePicture(40 * kTile, 30 * kTile, 21));
    snapshot.reset();

    // A snapshot dropped before anyone read it lets go as well: the next write does not wait.
    history.push();
    history.current().image().invertPixels();
    {
        Snapshot unread(history);
        EXPECT_TRUE(unread.isComplete());
    }
    history.current().image().invertPixels();
    EXPECT_EQ(std::as_const(history.current()).image().constBits(), pixels);
}

TEST(SharedPicture, AReaderThatYieldsGivesUpWhenTheWindowWaitsToWrite) {
    UndoHistory history;
    const QImage noise = testing::noisePicture(40 * kTile, 30 * kTile, 22);
    history.start(noise);
    history.push();
    history.current().image().invertPixels();
    const uchar* pixels = std::as_const(history.current()).image().constBits();

    Snapshot snapshot(history);
    ASSERT_TRUE(snapshot.isComplete());
    std::atomic<bool> started{false};
    QImage read;
    std::thread reader([&] {
        started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the write comes first
        read = snapshot.picture();
    });
    while (!started) std::this_thread::yield();
    history.current().image().invertPixels();
    reader.join();

    EXPECT_TRUE(read.isNull());
    EXPECT_TRUE(snapshot.yielded());
    EXPECT_EQ(std::as_const(history.current()).image().constBits(), pixels);
    EXPECT_EQ(std::as_const(history.current()).image(), noise);
}

}  // namespace
}  // namespace tessel
