#include "allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> watching{false};
std::atomic<size_t> largestSeen{0};

void* allocate(size_t size) {
    if (watching.load(std::memory_order_relaxed)) {
        size_t seen = largestSeen.load(std::memory_order_relaxed);
        while (size > seen && !largestSeen.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

}  // namespace

// The whole test binary allocates through these while it runs.
void* operator new(size_t size) {
    return allocate(size);
}
void* operator new[](size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

namespace pictavo::imaging::testing {

AllocationProbe::AllocationProbe() {
    largestSeen = 0;
    watching = true;
}

AllocationProbe::~AllocationProbe() {
    watching = false;
}

size_t AllocationProbe::largest() const {
    return largestSeen.load();
}

}  // namespace pictavo::imaging::testing
