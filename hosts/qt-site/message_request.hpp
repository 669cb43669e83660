// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>
#include <memory>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/site.hpp>

namespace tickwell::qt {

// A message of the control (a refusal, or the hundredths question) handed to the host
// instead of a message box. A slot connected directly may set the answer; queued slots get
// a copy that reads the same. Unanswered, the question's default answer stands: yes, the
// change the code asked for is made.
class TICKWELL_API MessageRequest {
  public:
    MessageRequest() = default;
    MessageRequest(QString prompt, MessageButtons buttons, MessageIcon icon);

    const QString& prompt() const { return d_->prompt; }
    MessageButtons buttons() const { return d_->buttons; }
    MessageIcon icon() const { return d_->icon; }
    bool isQuestion() const { return d_->buttons == MessageButtons::yes_no; }
    MessageResult answer() const { return d_->answer; }
    // Only an answer the buttons offer is taken.
    void setAnswer(MessageResult answer);

  private:
    struct Data {
        QString prompt;
        MessageButtons buttons = MessageButtons::ok;
        MessageIcon icon = MessageIcon::information;
        MessageResult answer = MessageResult::ok;
    };
    std::shared_ptr<Data> d_ = std::make_shared<Data>();
};

}  // namespace tickwell::qt

Q_DECLARE_METATYPE(tickwell::qt::MessageRequest)
