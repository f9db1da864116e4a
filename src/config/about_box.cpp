#include "config/about_box.h"

#include "common/numbers.h"
#include "config/colours.h"
#include "config/window_placement.h"
#include "dialogs/reactions.h"

namespace pictavo::config {

namespace {
using platform::EventType;
using platform::kFormItself;
using platform::Reaction;

constexpr int kFillPatterns = 8;  // solid, transparent and six hatches
constexpr int kExpandedMargin = 360;
}  // namespace

AboutBox::AboutBox(platform::Host& host, SaverState& state) : host_(host), state_(state) {}

AboutBox::~AboutBox() = default;

void AboutBox::showModal(platform::Form* owner) {
    form_ = host_.forms().create(layout(), *this, owner);
    load();
    form_->show(true);
}

void AboutBox::load() {
    form_->setCaption(std::string("About ") + "Pictavo/32");
    control("Label1").setCaption("Pictavo Version 5.0");
    // Cut off just below the expand button, which hides the notice.
    const platform::TwipsRect expand = control("btnExpand").bounds();
    setHeight(toInt32(expand.top + 2.5 * expand.height));
    centreOnScreen(*form_, host_.screen());
}

void AboutBox::setHeight(int twips) {
    platform::TwipsRect bounds = form_->bounds();
    bounds.height = twips;
    form_->move(bounds);
}

void AboutBox::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<AboutBox> kReactions[] = {
        {EventType::Timer, "Timer1", &AboutBox::flickerLittleScreen},
        {EventType::Click, "btnExpand", &AboutBox::showNotice},
        {EventType::Click, "Command2", &AboutBox::close},
        {EventType::Close, kFormItself, &AboutBox::close},
    };
    platform::react(*this, kReactions, event);
}

void AboutBox::close() {
    form_->unload();
}

// Shows the notice; there is no way back to the short form.
void AboutBox::showNotice() {
    const platform::TwipsRect notice = control("Ombudsman").bounds();
    setHeight(notice.top + notice.height + kExpandedMargin);
}

void AboutBox::flickerLittleScreen() {
    platform::Control& screen = control("LittleScreen");
    screen.setFillStyle(state_.random.pick(kFillPatterns));
    screen.setFillColour(
        kPalette16[static_cast<size_t>(state_.random.pick(static_cast<int>(kPalette16.size())))]);
}

}  // namespace pictavo::config
