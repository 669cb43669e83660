// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <memory>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

/// The arguments of a key event of the control, as keyDown, keyUp and keyPress pass them: a
/// pointer to an object that lives as long as the emission. keyDown and keyUp carry the key
/// code and the shift state, keyPress the character code. A slot connected directly may
/// change them and the control reads back what the slots leave: setting the key to 0 in
/// keyPress swallows the key (`onKeyPress: (event) => event.keyAscii = 0` in QML). A slot
/// must not keep the pointer.
class TICKWELL_API KeyEvent : public QObject {
    Q_OBJECT
    /// keyCode and keyAscii are one field under the names the two kinds of event give it.
    Q_PROPERTY(int keyCode READ key WRITE setKey NOTIFY changed)
    Q_PROPERTY(int keyAscii READ key WRITE setKey NOTIFY changed)
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)

  public:
    KeyEvent(int key, int shift);
    ~KeyEvent() override;

    int key() const;
    void setKey(int key);
    int shift() const;
    void setShift(int shift);

  signals:
    void changed();

  private:
    struct Private;
    std::unique_ptr<Private> d_;
};

/// The arguments of a mouse event of the control, as mouseDown, mouseUp and mouseMove pass
/// them: the buttons and the shift state, which slots may change as for keys, and the position
/// in the host's scale unit (logical pixels unless the host chose twips), which they may not.
class TICKWELL_API MouseEvent : public QObject {
    Q_OBJECT
    Q_PROPERTY(int button READ button WRITE setButton NOTIFY changed)
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)
    Q_PROPERTY(qreal x READ x CONSTANT)
    Q_PROPERTY(qreal y READ y CONSTANT)

  public:
    MouseEvent(int button, int shift, qreal x, qreal y);
    ~MouseEvent() override;

    int button() const;
    void setButton(int button);
    int shift() const;
    void setShift(int shift);
    qreal x() const;
    qreal y() const;

  signals:
    void changed();

  private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace tickwell::qt
