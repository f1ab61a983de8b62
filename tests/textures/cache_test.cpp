// The texture cache: bounded, most recently used kept, nothing made twice while kept.

#include <gtest/gtest.h>

#include <QColor>
#include <vector>

#include "textures/TextureCache.h"

namespace tessel::textures {
namespace {

struct CountingMaker {
    std::vector<int> made;
    QImage operator()(int number) {
        made.push_back(number);
        if (number <= 0) return QImage();
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(QColor(number, 0, 0));
        return image;
    }
};

TEST(TextureCacheTest, KeepsAtMostItsCapacityDroppingTheLeastRecent) {
    CountingMaker maker;
    TextureCache cache(4, [&maker](int n) { return maker(n); });
    for (int n = 1; n <= 6; ++n) cache.get(n);
    EXPECT_EQ(cache.size(), 4);
    EXPECT_FALSE(cache.contains(1));
    EXPECT_FALSE(cache.contains(2));
    for (int n = 3; n <= 6; ++n) EXPECT_TRUE(cache.contains(n)) << n;
}

TEST(TextureCacheTest, AKeptTextureIsNotMadeAgainAndBecomesMostRecent) {
    CountingMaker maker;
    TextureCache cache(2, [&maker](int n) { return maker(n); });
    cache.get(1);
    cache.get(2);
    const QImage again = cache.get(1);  // 1 is now the most recent
    EXPECT_EQ(again.pixelColor(0, 0), QColor(1, 0, 0));
    cache.get(3);  // so 2 goes
    EXPECT_TRUE(cache.contains(1));
    EXPECT_FALSE(cache.contains(2));
    EXPECT_EQ(maker.made, (std::vector<int>{1, 2, 3}));
}

TEST(TextureCacheTest, NothingIsKeptForANullPicture) {
    CountingMaker maker;
    TextureCache cache(3, [&maker](int n) { return maker(n); });
    EXPECT_TRUE(cache.get(0).isNull());
    EXPECT_EQ(cache.size(), 0);
    EXPECT_EQ(TextureCache(0, [&maker](int n) { return maker(n); }).capacity(), 1);
}

}  // namespace
}  // namespace tessel::textures
