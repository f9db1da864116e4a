#include "golden/effect_playback.h"

#include <cstdio>

#include "common/random.h"
#include "golden/transition_frames.h"
#include "hosts/headless/headless_screen.h"
#include "state/saver_state.h"
#include "transitions/pacing.h"
#include "transitions/transition_engine.h"
#include "transitions/transition_rig.h"

namespace pictavo::golden {

namespace {

using transitions::testing::kOldSlide;

// One run from a fresh old slide and generator, as at the show's start.
void playOnce(int effect, platform::Surface& picture1, platform::Surface& picture2,
              platform::EventLoop& loop, platform::Clock& clock, PauseCounter& counter) {
    picture2.drawImage(imaging::Image(picture2.width(), picture2.height(), kOldSlide), 0, 0);
    platform::headless::HeadlessScreen screen;
    screen.setPixels(picture2.width(), picture2.height());
    SaverState state;
    state.ImageWidth = static_cast<int16_t>(picture1.width());
    state.ImageHeight = static_cast<int16_t>(picture1.height());
    state.Speed = 0;  // no waits: the pixels do not depend on the pace
    state.random = Random();
    transitions::TransitionEngine engine(picture1, picture2, state, screen, loop, clock);
    engine.setTrace(&counter);
    engine.RunEffect(effect);
}

}  // namespace

void PauseCounter::delay(int32_t units) {
    nominalNanos += transitions::nominalDelayNanos(units, speed);
    if (++pauses == stopAt) throw transitions::TransitionAborted{};
}

std::string transitionKey(int effect, int width, int height, const char* frame) {
    char text[96];
    std::snprintf(text, sizeof text, "%s%02d-%.*s/%dx%d/%s", kTransitionPrefix, effect,
                  static_cast<int>(transitions::effectName(effect).size()),
                  transitions::effectName(effect).data(), width, height, frame);
    return text;
}

imaging::Image stagedSlide(int width, int height) {
    imaging::Image staged(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) staged.at(x, y) = transitions::testing::stagedPixel(x, y);
    return staged;
}

void playGoldenFrames(int effect, platform::Surface& picture1, platform::Surface& picture2,
                      platform::EventLoop& loop, platform::Clock& clock,
                      const std::function<void(const std::string& key, bool cut)>& shown) {
    const int width = picture2.width();
    const int height = picture2.height();
    picture1.drawImage(stagedSlide(width, height), 0, 0);
    PauseCounter count;
    playOnce(effect, picture1, picture2, loop, clock, count);
    shown(transitionKey(effect, width, height, "final"), false);
    if (count.pauses == 0) return;

    PauseCounter cut;
    cut.stopAt = (count.pauses + 1) / 2;
    playOnce(effect, picture1, picture2, loop, clock, cut);
    shown(transitionKey(effect, width, height, "middle"), true);
}

}  // namespace pictavo::golden
