// SPDX-License-Identifier: MIT
#include <tickwell/quick/quick_events.hpp>

namespace tickwell::qt {

void VexClockKeyEvent::setKey(int key) {
    if (key == event_.key()) return;
    event_.setKey(key);
    emit changed();
}

void VexClockKeyEvent::setShift(int shift) {
    if (shift == event_.shift()) return;
    event_.setShift(shift);
    emit changed();
}

void VexClockMouseEvent::setButton(int button) {
    if (button == event_.button()) return;
    event_.setButton(button);
    emit changed();
}

void VexClockMouseEvent::setShift(int shift) {
    if (shift == event_.shift()) return;
    event_.setShift(shift);
    emit changed();
}

VexClockMessage::Buttons VexClockMessage::buttons() const {
    return request_.buttons() == MessageButtons::yes_no ? YesNoButtons : OkButton;
}

VexClockMessage::Icon VexClockMessage::icon() const {
    return request_.icon() == MessageIcon::question ? Question : Information;
}

VexClockMessage::Answer VexClockMessage::answer() const {
    switch (request_.answer()) {
        case MessageResult::yes:
            return Yes;
        case MessageResult::no:
            return No;
        case MessageResult::ok:
            break;
    }
    return Ok;
}

void VexClockMessage::setAnswer(Answer answer) {
    const MessageResult result = answer == Yes  ? MessageResult::yes
                                 : answer == No ? MessageResult::no
                                                : MessageResult::ok;
    request_.setAnswer(result);
    // The buttons decide what is taken; an answer they do not offer leaves it unanswered.
    if (request_.answer() != result) return;
    answered_ = true;
    emit answered();
}

}  // namespace tickwell::qt
