#include "transitions/transition_engine.h"

#include <array>

#include "common/numbers.h"
#include "transitions/canvas.h"
#include "transitions/effects.h"
#include "transitions/pacing.h"
#include "transitions/transition_context.h"

namespace pictavo::transitions {

namespace {

struct EffectEntry {
    std::string_view name;
    void (*run)(TransitionContext& c);
};

// The dispatcher's table: each effect's routine with its arguments.
constexpr std::array<EffectEntry, kEffectCount> kEffects = {{
    {"WipeDown", [](TransitionContext& c) { WipeDown(c, 4, 50); }},
    {"WipeUp", [](TransitionContext& c) { WipeUp(c, 4, 50); }},
    {"WipeRight", [](TransitionContext& c) { WipeRight(c, 4, 50); }},
    {"WipeLeft", [](TransitionContext& c) { WipeLeft(c, 4, 50); }},
    {"CentreOutRows", [](TransitionContext& c) { CentreOutRows(c, 4, 50); }},
    {"EdgesInRows", [](TransitionContext& c) { EdgesInRows(c, 4, 50); }},
    {"EdgesInColumns", [](TransitionContext& c) { EdgesInColumns(c, 4, 50); }},
    {"DiamondOut", [](TransitionContext& c) { DiamondOut(c, 8, 8, 1); }},
    {"SpiralBlocks", [](TransitionContext& c) { SpiralBlocks(c, 10, 2); }},
    // The band count is worked out before the call: half the height of Picture2.
    {"SmearUp", [](TransitionContext& c) { SmearUp(c, toInt16(c.H2() / 2.0), 1); }},
    {"DiagonalCheckerReturn", [](TransitionContext& c) { DiagonalCheckerReturn(c, 10, 4); }},
    {"DiagonalSweep", [](TransitionContext& c) { DiagonalSweep(c, 8, 8, 2); }},
    {"DiagonalInterlace", [](TransitionContext& c) { DiagonalInterlace(c, 8, 8, 2); }},
    {"DiagonalChecker", [](TransitionContext& c) { DiagonalChecker(c, 8, 4); }},
    {"InterlacedRows", [](TransitionContext& c) { InterlacedRows(c, 10, 50); }},
    {"InterlacedColumns", [](TransitionContext& c) { InterlacedColumns(c, 10, 50); }},
    {"PairedRows", [](TransitionContext& c) { PairedRows(c, 10, 50); }},
    {"PairedColumns", [](TransitionContext& c) { PairedColumns(c, 10, 50); }},
    {"HorizontalBlinds", [](TransitionContext& c) { HorizontalBlinds(c, 20, 5); }},
    {"VerticalBlinds", [](TransitionContext& c) { VerticalBlinds(c, 20, 5); }},
    {"SlideFromTop", [](TransitionContext& c) { SlideFromTop(c, 40, 1); }},
    {"SlideFromBottom", [](TransitionContext& c) { SlideFromBottom(c, 40, 1); }},
    {"SlideFromLeft", [](TransitionContext& c) { SlideFromLeft(c, 80, 1); }},
    {"SlideFromRight", [](TransitionContext& c) { SlideFromRight(c, 80, 1); }},
    {"SlideFromTopLeft", [](TransitionContext& c) { SlideFromTopLeft(c, 60, 1); }},
    {"SlideFromBottomLeft", [](TransitionContext& c) { SlideFromBottomLeft(c, 60, 1); }},
    {"CounterColumns", [](TransitionContext& c) { CounterColumns(c, 16, 8, 1); }},
    {"CounterRows", [](TransitionContext& c) { CounterRows(c, 8, 16, 1); }},
    {"SnakeColumns", [](TransitionContext& c) { SnakeColumns(c, 16, 1); }},
    {"SnakeRows", [](TransitionContext& c) { SnakeRows(c, 16, 1); }},
    {"RandomBlocks", [](TransitionContext& c) { RandomBlocks(c, 10, 1); }},
    {"CentreOutColumns", [](TransitionContext& c) { CentreOutColumns(c, 4, 50); }},
    {"StretchFromCentre", [](TransitionContext& c) { StretchFromCentre(c, 0, 10, 50); }},
    {"StretchOpenVertical", [](TransitionContext& c) { StretchOpenVertical(c, 10, 50); }},
    {"StretchOpenHorizontal", [](TransitionContext& c) { StretchOpenHorizontal(c, 10, 50); }},
    {"StretchFromLeft", [](TransitionContext& c) { StretchFromLeft(c, 10, 50); }},
    {"StretchFromRight", [](TransitionContext& c) { StretchFromRight(c, 10, 50); }},
    {"StretchFromTop", [](TransitionContext& c) { StretchFromTop(c, 10, 50); }},
    {"StretchFromBottom", [](TransitionContext& c) { StretchFromBottom(c, 10, 50); }},
    {"StretchFromTopLeft", [](TransitionContext& c) { StretchFromTopLeft(c, 10, 50); }},
    {"StretchFromTopRight", [](TransitionContext& c) { StretchFromTopRight(c, 10, 50); }},
    {"StretchFromBottomLeft", [](TransitionContext& c) { StretchFromBottomLeft(c, 0, 10, 50); }},
    {"StretchFromBottomRight", [](TransitionContext& c) { StretchFromBottomRight(c, 10, 50); }},
}};

const EffectEntry* findEffect(int effect) {
    if (effect < 0 || effect >= kEffectCount) return nullptr;
    return &kEffects[static_cast<size_t>(effect)];
}

}  // namespace

std::string_view effectName(int effect) {
    const EffectEntry* entry = findEffect(effect);
    return entry ? entry->name : std::string_view{};
}

bool TransitionEngine::Transition(int effect) {
    return run(effect, true);
}

bool TransitionEngine::RunEffect(int effect) {
    return run(effect, false);
}

bool TransitionEngine::run(int effect, bool closeWithFullCopy) {
    const EffectEntry* entry = findEffect(effect);
    if (!entry) return true;
    Canvas canvas(picture1_, picture2_, trace_);
    Pacing pacing(eventLoop_, clock_, state_, trace_);
    TransitionContext context(canvas, pacing, state_, screen_);
    try {
        entry->run(context);
    } catch (const TransitionAborted&) {
        return false;
    }
    if (closeWithFullCopy) canvas.copy(0, 0, canvas.W1(), canvas.H1());
    canvas.present();
    // The last frame is shown now, not at the host's next display frame.
    eventLoop_.presentDrawing(platform::EventLoop::Present::Now);
    return true;
}

}  // namespace pictavo::transitions
