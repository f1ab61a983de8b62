#pragma once
// The median, least and greatest of a benchmark's repeated measurements.

#include <algorithm>
#include <vector>

namespace bench {

struct Spread {
    double median, min, max;
};

inline Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

}  // namespace bench
