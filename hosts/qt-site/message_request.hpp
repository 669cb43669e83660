// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

/// A message of the control (a refusal, or the question asked before hundredths are shown)
/// handed to the program instead of a message box, as messageRequested passes it: a pointer
/// to an object that lives as long as the emission. A slot connected directly (a QML handler)
/// answers it by setting its answer; only an answer its buttons offer is taken. Unanswered, a
/// refusal is acknowledged (Ok) and the question is answered Yes: the change the program asked
/// for is made. A slot must not keep the pointer.
class TICKWELL_API MessageRequest : public QObject {
    Q_OBJECT
    /// The message's text, as a message box would show it.
    Q_PROPERTY(QString prompt READ prompt CONSTANT)
    /// The buttons a message box would offer: the answers that are taken.
    Q_PROPERTY(Buttons buttons READ buttons CONSTANT)
    /// The icon a message box would show.
    Q_PROPERTY(Icon icon READ icon CONSTANT)
    /// Whether this is the question (Yes and No) rather than a refusal (Ok).
    Q_PROPERTY(bool question READ isQuestion CONSTANT)
    /// The answer the control takes; see answer().
    Q_PROPERTY(Answer answer READ answer WRITE setAnswer NOTIFY answered)

  public:
    /// Ok alone (a refusal), or Yes and No (the question).
    enum Buttons { OkButton, YesNoButtons };
    Q_ENUM(Buttons)
    /// Information for a refusal, Question for the question.
    enum Icon { Information, Question };
    Q_ENUM(Icon)
    /// An answer, as the button of that name would give it.
    enum Answer { Ok, Yes, No };
    Q_ENUM(Answer)

    /// A message as the host makes it for one emission.
    MessageRequest(const QString& prompt, Buttons buttons, Icon icon);
    ~MessageRequest() override;

    /// Reads #prompt.
    QString prompt() const;
    /// Reads #buttons.
    Buttons buttons() const;
    /// Reads #icon.
    Icon icon() const;
    /// Reads #question.
    bool isQuestion() const { return buttons() == YesNoButtons; }
    /// The answer the control takes: the one a slot set, else the default.
    Answer answer() const;
    /// Answers the message; an answer the buttons do not offer is ignored.
    void setAnswer(Answer answer);
    /// Whether a slot set an answer the buttons offer.
    bool isAnswered() const;

  signals:
    /// A slot set an answer the buttons offer.
    void answered();

  private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace tickwell::qt
