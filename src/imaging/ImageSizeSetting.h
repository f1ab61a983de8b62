#pragma once
// Whether pictures read from files keep their own size or are fitted into a box.

#include <cstdint>

namespace tessel {

struct ImageSizeSetting {
    int trueSize = 1;              // 1: pictures keep their own size
    std::int16_t boxWidth = 0;     // used when trueSize is 0
    std::int16_t boxHeight = 0;
};

}  // namespace tessel
