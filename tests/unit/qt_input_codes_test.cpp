// SPDX-License-Identifier: MIT
// Key codes, shift states and mouse buttons in the platform's convention.
#include <tickwell/qt/input_codes.hpp>

#include <gtest/gtest.h>

namespace tickwell::qt {
namespace {

TEST(InputCodes, KeysHaveTheirVirtualKeyCodes) {
    struct Row {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const Row rows[] = {
        {"a letter", Qt::Key_Q, {}, 'Q'},
        {"a digit", Qt::Key_7, {}, '7'},
        {"the digit's shifted sign", Qt::Key_Ampersand, Qt::ShiftModifier, '7'},
        {"a closing parenthesis", Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        {"a keypad digit", Qt::Key_5, Qt::KeypadModifier, 0x65},
        {"the keypad's plus", Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {"plus on the main keys", Qt::Key_Plus, Qt::ShiftModifier, 0xBB},
        {"F1", Qt::Key_F1, {}, 0x70},
        {"F24", Qt::Key_F24, {}, 0x87},
        {"Return", Qt::Key_Return, {}, 0x0D},
        {"the keypad's Enter", Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {"Escape", Qt::Key_Escape, {}, 0x1B},
        {"Left", Qt::Key_Left, {}, 0x25},
        {"Down", Qt::Key_Down, {}, 0x28},
        {"Delete", Qt::Key_Delete, {}, 0x2E},
        {"Shift", Qt::Key_Shift, Qt::ShiftModifier, 0x10},
        {"semicolon", Qt::Key_Semicolon, {}, 0xBA},
        {"question mark", Qt::Key_Question, Qt::ShiftModifier, 0xBF},
        {"a key with no code", Qt::Key_MediaPlay, {}, 0},
        {"a letter beyond ASCII", Qt::Key_Eacute, {}, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(virtual_key_code(r.key, r.modifiers), r.code) << r.what;
}

TEST(InputCodes, ShiftStatesAndButtonsAddUp) {
    EXPECT_EQ(shift_state({}), 0);
    EXPECT_EQ(shift_state(Qt::ShiftModifier), 1);
    EXPECT_EQ(shift_state(Qt::ControlModifier | Qt::AltModifier), 6);
    EXPECT_EQ(shift_state(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                          Qt::KeypadModifier | Qt::MetaModifier),
              7);
    EXPECT_EQ(button_code(Qt::LeftButton), 1);
    EXPECT_EQ(button_code(Qt::RightButton), 2);
    EXPECT_EQ(button_code(Qt::MiddleButton), 4);
    EXPECT_EQ(button_code(Qt::LeftButton | Qt::RightButton | Qt::BackButton), 3);
    EXPECT_EQ(button_code(Qt::NoButton), 0);
}

}  // namespace
}  // namespace tickwell::qt
