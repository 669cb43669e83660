// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <memory>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

// The arguments of a key event of the control (keyDown, keyUp: the key code and the shift
// state; keyPress: the character code in key). A slot connected directly may change them,
// and the control reads back what the slots leave (setting key to 0 in keyPress swallows
// the key); a queued slot gets a copy that reads the same.
class TICKWELL_API KeyEvent {
  public:
    KeyEvent() = default;
    KeyEvent(int key, int shift) : d_(std::make_shared<Data>(Data{key, shift})) {}
    int key() const { return d_->key; }
    void setKey(int key) { d_->key = key; }
    int shift() const { return d_->shift; }
    void setShift(int shift) { d_->shift = shift; }

  private:
    struct Data {
        int key = 0, shift = 0;
    };
    std::shared_ptr<Data> d_ = std::make_shared<Data>();
};

// The arguments of a mouse event of the control: the buttons and shift state, which slots
// may change as for keys, and the position in the widget's scale unit, which they may change
// only in their own copy.
class TICKWELL_API MouseEvent {
  public:
    MouseEvent() = default;
    MouseEvent(int button, int shift, float x, float y)
        : d_(std::make_shared<Data>(Data{button, shift, x, y})) {}
    int button() const { return d_->button; }
    void setButton(int button) { d_->button = button; }
    int shift() const { return d_->shift; }
    void setShift(int shift) { d_->shift = shift; }
    float x() const { return d_->x; }
    float y() const { return d_->y; }

  private:
    struct Data {
        int button = 0, shift = 0;
        float x = 0, y = 0;
    };
    std::shared_ptr<Data> d_ = std::make_shared<Data>();
};

}  // namespace tickwell::qt

Q_DECLARE_METATYPE(tickwell::qt::KeyEvent)
Q_DECLARE_METATYPE(tickwell::qt::MouseEvent)
