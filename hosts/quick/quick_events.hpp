// SPDX-License-Identifier: MIT
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

#include <tickwell/platform/api.hpp>
#include <tickwell/qt/control_events.hpp>
#include <tickwell/qt/message_request.hpp>

namespace tickwell::qt {

// The arguments of a key event of a VexClock item: keyDown and keyUp carry the key code and
// the shift state, keyPress the character code (keyAscii). A handler may change them
// (`onKeyPress: (event) => event.keyAscii = 0` swallows the key) and the control reads back
// what the handlers leave. The object lives for the emission only: a handler must not keep it.
class TICKWELL_API VexClockKeyEvent : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(VexClockKeyEvent)
    QML_UNCREATABLE("A VexClock creates its key events")
    // keyCode and keyAscii are one field under the names the two kinds of event give it.
    Q_PROPERTY(int keyCode READ key WRITE setKey NOTIFY changed)
    Q_PROPERTY(int keyAscii READ key WRITE setKey NOTIFY changed)
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)

  public:
    explicit VexClockKeyEvent(KeyEvent event) : event_(std::move(event)) {}
    int key() const { return event_.key(); }
    void setKey(int key);
    int shift() const { return event_.shift(); }
    void setShift(int shift);

  signals:
    void changed();

  private:
    KeyEvent event_;  // shares its fields with the value the host reads back
};

// The arguments of a mouse event of a VexClock item: the buttons and the shift state, which
// handlers may change as for keys, and the position in the item's scale unit (logical
// pixels unless the host chose twips), which they may not.
class TICKWELL_API VexClockMouseEvent : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(VexClockMouseEvent)
    QML_UNCREATABLE("A VexClock creates its mouse events")
    Q_PROPERTY(int button READ button WRITE setButton NOTIFY changed)
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)
    Q_PROPERTY(qreal x READ x CONSTANT)
    Q_PROPERTY(qreal y READ y CONSTANT)

  public:
    explicit VexClockMouseEvent(MouseEvent event) : event_(std::move(event)) {}
    int button() const { return event_.button(); }
    void setButton(int button);
    int shift() const { return event_.shift(); }
    void setShift(int shift);
    qreal x() const { return event_.x(); }
    qreal y() const { return event_.y(); }

  signals:
    void changed();

  private:
    MouseEvent event_;
};

// A message of the control (a refusal, or the question asked before hundredths are shown)
// handed to QML instead of a message box. A handler answers it by setting `answer`; only an
// answer its buttons offer is taken. Unanswered, a refusal is acknowledged (Ok) and the
// question is answered Yes: the change the program asked for is made.
class TICKWELL_API VexClockMessage : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(VexClockMessage)
    QML_UNCREATABLE("A VexClock creates its messages")
    Q_PROPERTY(QString prompt READ prompt CONSTANT)
    Q_PROPERTY(Buttons buttons READ buttons CONSTANT)
    Q_PROPERTY(Icon icon READ icon CONSTANT)
    Q_PROPERTY(bool question READ question CONSTANT)
    Q_PROPERTY(Answer answer READ answer WRITE setAnswer NOTIFY answered)

  public:
    enum Buttons { OkButton, YesNoButtons };
    Q_ENUM(Buttons)
    enum Icon { Information, Question };
    Q_ENUM(Icon)
    enum Answer { Ok, Yes, No };
    Q_ENUM(Answer)

    explicit VexClockMessage(MessageRequest request) : request_(std::move(request)) {}
    QString prompt() const { return request_.prompt(); }
    Buttons buttons() const;
    Icon icon() const;
    bool question() const { return request_.isQuestion(); }
    Answer answer() const;
    void setAnswer(Answer answer);
    // Whether a handler set an answer the buttons offer.
    bool isAnswered() const { return answered_; }
    const MessageRequest& request() const { return request_; }

  signals:
    void answered();

  private:
    MessageRequest request_;
    bool answered_ = false;
};

}  // namespace tickwell::qt
