#pragma once
// Watches the largest single allocation the test binary makes while a probe
// lives, to prove that a refused picture never reserved its claimed size.

#include <cstddef>

namespace pictavo::imaging::testing {

class AllocationProbe {
  public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    size_t largest() const;
};

}  // namespace pictavo::imaging::testing
