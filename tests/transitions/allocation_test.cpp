// The engine allocates nothing while an effect runs: every step is blits and
// a pause, whatever the effect and however many steps it has.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "transition_rig.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace pictavo::transitions::testing {
namespace {

TEST(EngineAllocations, NoneWhileAnyEffectRuns) {
    for (int effect = 0; effect < kEffectCount; ++effect) {
        TransitionRig rig(97, 61);
        rig.engine.setTrace(nullptr);
        const long before = allocations.load();
        ASSERT_TRUE(rig.transition(effect));
        EXPECT_EQ(allocations.load() - before, 0) << effectName(effect);
        EXPECT_TRUE(rig.showsStagedSlide());
    }
}

}  // namespace
}  // namespace pictavo::transitions::testing
