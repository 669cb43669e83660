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
    Q_PROPERTY(QString prompt READ prompt CONSTANT)
    Q_PROPERTY(Buttons buttons READ buttons CONSTANT)
    Q_PROPERTY(Icon icon READ icon CONSTANT)
    Q_PROPERTY(bool question READ isQuestion CONSTANT)
    Q_PROPERTY(Answer answer READ answer WRITE setAnswer NOTIFY answered)

  public:
    enum Buttons { OkButton, YesNoButtons };
    Q_ENUM(Buttons)
    enum Icon { Information, Question };
    Q_ENUM(Icon)
    enum Answer { Ok, Yes, No };
    Q_ENUM(Answer)

    MessageRequest(const QString& prompt, Buttons buttons, Icon icon);
    ~MessageRequest() override;

    QString prompt() const;
    Buttons buttons() const;
    Icon icon() const;
    bool isQuestion() const { return buttons() == YesNoButtons; }
    /// The answer the control takes: the one a slot set, else the default.
    Answer answer() const;
    void setAnswer(Answer answer);
    /// Whether a slot set an answer the buttons offer.
    bool isAnswered() const;

  signals:
    void answered();

  private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace tickwell::qt
