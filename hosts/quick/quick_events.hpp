// SPDX-License-Identifier: MIT
#pragma once

#include <QtQml/qqml.h>
#include <QtQml/qqmlregistration.h>
#include <QObject>

#include <tickwell/qt/control_events.hpp>
#include <tickwell/qt/message_request.hpp>

namespace tickwell::qt {

// The objects the item's signals pass, under the names QML gives them: the key and mouse
// events a handler may change, and the message a handler may answer
// (`message.answer = VexClockMessage.No`). Only the item makes them.
struct VexClockKeyEventForeign {
    Q_GADGET
    QML_FOREIGN(tickwell::qt::KeyEvent)
    QML_NAMED_ELEMENT(VexClockKeyEvent)
    QML_UNCREATABLE("A VexClock creates its key events")
};

struct VexClockMouseEventForeign {
    Q_GADGET
    QML_FOREIGN(tickwell::qt::MouseEvent)
    QML_NAMED_ELEMENT(VexClockMouseEvent)
    QML_UNCREATABLE("A VexClock creates its mouse events")
};

struct VexClockMessageForeign {
    Q_GADGET
    QML_FOREIGN(tickwell::qt::MessageRequest)
    QML_NAMED_ELEMENT(VexClockMessage)
    QML_UNCREATABLE("A VexClock creates its messages")
};

}  // namespace tickwell::qt
