// Which handler a window's reaction table runs for an event: every window
// dispatches through it, so a wrong match would silently drop or misroute
// clicks, keys and paints.
#include "dialogs/reactions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pictavo::platform {
namespace {

class Window {
  public:
    void handle(Event& event) {
        static constexpr Reaction<Window> kReactions[] = {
            {EventType::Click, "OK", &Window::ok},
            {EventType::Click, "OK", &Window::second},
            {EventType::Paint, kFormItself, &Window::paintForm},
            {EventType::KeyDown, kAnyControl, &Window::swallowKey},
            {EventType::Close, kAnyControl, &Window::closed},
        };
        react(*this, kReactions, event);
    }

    std::vector<std::string> ran;

  private:
    void ok() { ran.push_back("ok"); }
    void second() { ran.push_back("second"); }
    void paintForm() { ran.push_back("paint"); }
    void swallowKey(Event& event) {
        ran.push_back("key " + std::to_string(event.key) + " from " + event.control);
        event.key = 0;
    }
    void closed() { ran.push_back("closed"); }
};

Event event(EventType type, std::string control, int key = 0) {
    Event e;
    e.type = type;
    e.control = std::move(control);
    e.key = key;
    return e;
}

std::vector<std::string> run(Event e) {
    Window window;
    window.handle(e);
    return window.ran;
}

using Ran = std::vector<std::string>;

TEST(Reactions, NamedControlMatchesOnlyThatControlAndType) {
    EXPECT_EQ(run(event(EventType::Click, "OK")), Ran{"ok"}) << "only the first matching row runs";
    EXPECT_EQ(run(event(EventType::Click, "Cancel")), Ran{});
    EXPECT_EQ(run(event(EventType::Click, "ok")), Ran{}) << "control names are exact";
    EXPECT_EQ(run(event(EventType::Change, "OK")), Ran{});
    EXPECT_EQ(run(event(EventType::Click, "")), Ran{});
}

TEST(Reactions, FormItselfIsNotAnyControl) {
    EXPECT_EQ(run(event(EventType::Paint, "")), Ran{"paint"});
    EXPECT_EQ(run(event(EventType::Paint, "Picture1")), Ran{});
    EXPECT_EQ(run(event(EventType::Close, "")), Ran{"closed"});
    EXPECT_EQ(run(event(EventType::Close, "Text1")), Ran{"closed"});
}

TEST(Reactions, HandlersThatReadTheEventSeeItAndMayChangeIt) {
    Window window;
    Event key = event(EventType::KeyDown, "Text1", 27);
    window.handle(key);
    EXPECT_EQ(window.ran, Ran{"key 27 from Text1"});
    EXPECT_EQ(key.key, 0) << "the handler's change reaches the caller";
}

}  // namespace
}  // namespace pictavo::platform
