#pragma once
// Watches the memory requests of the test program: while a probe is open, the largest single
// request is recorded and any request above its limit is refused (malloc returns null), so that
// a decoder that would take gigabytes is caught without taking them. Under AddressSanitizer the
// requests are only recorded.

#include <cstddef>

namespace tessel::testing {

class AllocationProbe {
  public:
    explicit AllocationProbe(std::size_t limit);
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // The largest request made since the probe opened, refused or not.
    std::size_t largestRequest() const;
};

}  // namespace tessel::testing
