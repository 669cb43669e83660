// SPDX-License-Identifier: MIT
#include <tickwell/qt/input_codes.hpp>

#include <QKeyEvent>
#include <algorithm>
#include <span>

namespace tickwell::qt {
namespace {

struct KeyRow {
    int qt_key;
    std::int16_t code;
};

// Keys whose virtual-key code is not their character. Shifted punctuation maps to the code
// of the key that carries it on a US layout, as the platform reports it.
constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},         {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},      {Qt::Key_Return, 0x0D},      {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},     {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},      {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},        {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},         {Qt::Key_Right, 0x27},       {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},     {Qt::Key_Print, 0x2C},       {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},     {Qt::Key_Help, 0x2F},        {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},    {Qt::Key_Super_R, 0x5C},     {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},    {Qt::Key_ScrollLock, 0x91},  {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},       {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},        {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},      {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},      {Qt::Key_Question, 0xBF},    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},  {Qt::Key_Bar, 0xDC},         {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},  {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_Exclam, '1'},      {Qt::Key_At, '2'},           {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},      {Qt::Key_Percent, '5'},      {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},   {Qt::Key_Asterisk, '8'},     {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// The keypad's keys when Qt marks them with the keypad modifier.
constexpr KeyRow kKeypad[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

std::int16_t find_code(std::span<const KeyRow> rows, int qt_key) {
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const KeyRow& r) { return r.qt_key == qt_key; });
    return it == rows.end() ? std::int16_t{0} : it->code;
}

}  // namespace

std::int16_t shift_state(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers & Qt::ShiftModifier) state |= 1;
    if (modifiers & Qt::ControlModifier) state |= 2;
    if (modifiers & Qt::AltModifier) state |= 4;
    return static_cast<std::int16_t>(state);
}

std::int16_t button_code(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return static_cast<std::int16_t>(code);
}

std::int16_t virtual_key_code(int qt_key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
            return static_cast<std::int16_t>(0x60 + (qt_key - Qt::Key_0));
        if (const std::int16_t code = find_code(kKeypad, qt_key)) return code;
    }
    if ((qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) ||
        (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z))
        return static_cast<std::int16_t>(qt_key);  // Qt's codes are the characters here
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
        return static_cast<std::int16_t>(0x70 + (qt_key - Qt::Key_F1));
    return find_code(kKeys, qt_key);
}

std::int16_t key_code(const QKeyEvent& event) {
#ifdef Q_OS_WIN
    if (const quint32 native = event.nativeVirtualKey(); native > 0 && native < 256)
        return static_cast<std::int16_t>(native);
#endif
    return virtual_key_code(event.key(), event.modifiers());
}

}  // namespace tickwell::qt
