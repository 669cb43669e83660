// SPDX-License-Identifier: MIT
#include <tickwell/qt/control_events.hpp>

namespace tickwell::qt {

struct KeyEvent::Private {
    int key;
    int shift;
};

KeyEvent::KeyEvent(int key, int shift) : d_(std::make_unique<Private>(Private{key, shift})) {}
KeyEvent::~KeyEvent() = default;

int KeyEvent::key() const {
    return d_->key;
}

void KeyEvent::setKey(int key) {
    if (key == d_->key) return;
    d_->key = key;
    emit changed();
}

int KeyEvent::shift() const {
    return d_->shift;
}

void KeyEvent::setShift(int shift) {
    if (shift == d_->shift) return;
    d_->shift = shift;
    emit changed();
}

struct MouseEvent::Private {
    int button;
    int shift;
    qreal x;
    qreal y;
};

MouseEvent::MouseEvent(int button, int shift, qreal x, qreal y)
    : d_(std::make_unique<Private>(Private{button, shift, x, y})) {}
MouseEvent::~MouseEvent() = default;

int MouseEvent::button() const {
    return d_->button;
}

void MouseEvent::setButton(int button) {
    if (button == d_->button) return;
    d_->button = button;
    emit changed();
}

int MouseEvent::shift() const {
    return d_->shift;
}

void MouseEvent::setShift(int shift) {
    if (shift == d_->shift) return;
    d_->shift = shift;
    emit changed();
}

qreal MouseEvent::x() const {
    return d_->x;
}

qreal MouseEvent::y() const {
    return d_->y;
}

}  // namespace tickwell::qt
