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
    /// The key code (keyDown, keyUp) or the character code (keyPress): keyCode and keyAscii
    /// are one field under the names the two kinds of event give it. 0 swallows the key.
    Q_PROPERTY(int keyCode READ key WRITE setKey NOTIFY changed)
    /// The same field as keyCode, under the name keyPress gives it.
    Q_PROPERTY(int keyAscii READ key WRITE setKey NOTIFY changed)
    /// The shift state: 1 Shift, 2 Ctrl, 4 Alt, added together.
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)

  public:
    /// An event carrying `key` and `shift`, made by the host for one emission.
    KeyEvent(int key, int shift);
    ~KeyEvent() override;

    /// The keyCode (keyAscii) field.
    /// @{
    int key() const;
    void setKey(int key);
    /// @}
    /// The shift field.
    /// @{
    int shift() const;
    void setShift(int shift);
    /// @}

  signals:
    /// A slot changed a field.
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
    /// The buttons: 1 left, 2 right, 4 middle, added together (mouseMove: those held).
    Q_PROPERTY(int button READ button WRITE setButton NOTIFY changed)
    /// The shift state: 1 Shift, 2 Ctrl, 4 Alt, added together.
    Q_PROPERTY(int shift READ shift WRITE setShift NOTIFY changed)
    /// The position from the control's top left, in the host's scale unit.
    Q_PROPERTY(qreal x READ x CONSTANT)
    /// The position from the control's top left, in the host's scale unit.
    Q_PROPERTY(qreal y READ y CONSTANT)

  public:
    /// An event carrying these arguments, made by the host for one emission.
    MouseEvent(int button, int shift, qreal x, qreal y);
    ~MouseEvent() override;

    /// The button field.
    /// @{
    int button() const;
    void setButton(int button);
    /// @}
    /// The shift field.
    /// @{
    int shift() const;
    void setShift(int shift);
    /// @}
    /// The position, fixed.
    /// @{
    qreal x() const;
    qreal y() const;
    /// @}

  signals:
    /// A slot changed a field.
    void changed();

  private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace tickwell::qt
