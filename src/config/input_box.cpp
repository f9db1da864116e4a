#include "config/input_box.h"

#include "config/window_placement.h"
#include "dialogs/reactions.h"

namespace pictavo::config {

namespace {
using platform::EventType;
using platform::kFormItself;
using platform::Reaction;
}  // namespace

InputBox::InputBox(platform::Host& host) : host_(host) {}

InputBox::~InputBox() = default;

void InputBox::ask(const std::string& prompt, const std::string& title, const std::string& initial,
                   platform::Form* owner, Answered answered) {
    answered_ = std::move(answered);
    form_ = host_.forms().create(layout(), *this, owner);
    form_->setCaption(title);
    form_->control("Prompt").setCaption(prompt);
    form_->control("Answer").setText(initial);
    centreOnScreen(*form_, host_.screen());
    form_->show(true);
}

void InputBox::onEvent(platform::Form&, platform::Event& event) {
    static constexpr Reaction<InputBox> kReactions[] = {
        {EventType::Click, "OK", &InputBox::accept},
        {EventType::Click, "Cancel", &InputBox::cancel},
        {EventType::Close, kFormItself, &InputBox::cancel},
    };
    platform::react(*this, kReactions, event);
}

void InputBox::accept() {
    finish(form_->control("Answer").text());
}

void InputBox::cancel() {
    finish(std::nullopt);
}

// The box is gone before the answer is used, as when a blocking call returns.
void InputBox::finish(const std::optional<std::string>& answer) {
    form_->unload();
    Answered answered = std::move(answered_);
    answered_ = nullptr;
    if (answered) answered(answer);
}

}  // namespace pictavo::config
