// SPDX-License-Identifier: MIT
#include <tickwell/qt/message_request.hpp>

namespace tickwell::qt {

MessageRequest::MessageRequest(QString prompt, MessageButtons buttons, MessageIcon icon)
    : d_(std::make_shared<Data>(
          Data{std::move(prompt), buttons, icon,
               buttons == MessageButtons::yes_no ? MessageResult::yes : MessageResult::ok})) {}

void MessageRequest::setAnswer(MessageResult answer) {
    const bool offered = isQuestion() ? answer != MessageResult::ok : answer == MessageResult::ok;
    if (offered) d_->answer = answer;
}

}  // namespace tickwell::qt
