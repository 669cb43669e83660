// SPDX-License-Identifier: MIT
#include <tickwell/qt/message_request.hpp>

namespace tickwell::qt {

struct MessageRequest::Private {
    QString prompt;
    Buttons buttons;
    Icon icon;
    Answer answer;
    bool answered = false;
};

MessageRequest::MessageRequest(const QString& prompt, Buttons buttons, Icon icon)
    : d_(std::make_unique<Private>(
          Private{prompt, buttons, icon, buttons == YesNoButtons ? Yes : Ok})) {}

MessageRequest::~MessageRequest() = default;

QString MessageRequest::prompt() const {
    return d_->prompt;
}

MessageRequest::Buttons MessageRequest::buttons() const {
    return d_->buttons;
}

MessageRequest::Icon MessageRequest::icon() const {
    return d_->icon;
}

MessageRequest::Answer MessageRequest::answer() const {
    return d_->answer;
}

void MessageRequest::setAnswer(Answer answer) {
    const bool offered = isQuestion() ? answer != Ok : answer == Ok;
    if (!offered) return;
    d_->answer = answer;
    d_->answered = true;
    emit answered();
}

bool MessageRequest::isAnswered() const {
    return d_->answered;
}

}  // namespace tickwell::qt
