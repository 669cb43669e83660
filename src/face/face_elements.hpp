// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/element_array.hpp>
#include <tickwell/platform/scene.hpp>

namespace tickwell {

// System colour 15, the face of buttons: the dial's colour until BackGround is set.
inline constexpr std::uint32_t kButtonFace = 0x8000000F;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kMarkGrey = 0x00808080;

// The child elements of one control, for both faces, with their settings at creation.
// The scene owns them; the members below address them by their names.
struct TICKWELL_API FaceElements {
    FaceElements();
    FaceElements(const FaceElements&) = delete;
    FaceElements& operator=(const FaceElements&) = delete;

    // Creates Dot(1..11) and DotSh(1..11), each brought to the front as it is made: done
    // once, when the control is created.
    void complete_hour_marks();

    Scene scene;
    TimerElement& SWTimer;                 // the tick
    TimerElement& ColonTimer;              // the colon blink
    ImageElement& IconIm;                  // never shown: holds the custom pointer picture
    ElementArray<ImageElement> DisplayIm;  // digit cells: h h m m s s tenths hundredths
    ElementArray<ImageElement> NumIm;      // glyph store: NumIm(d) holds digit d; 10, 11 blank
    ElementArray<ImageElement> ColonIm;    // the two colons
    ShapeElement& Hub;
    ShapeElement& HubSh;
    ElementArray<ShapeElement> Dot;    // hour marks, Dot(0) at twelve o'clock
    ElementArray<ShapeElement> DotSh;  // white copies of the marks
    ElementArray<LineElement> Hand;    // 0 second, 1 minute, 2 hour hand
    ElementArray<LineElement> HandSh;  // white copies of the hands
    ShapeElement& Border;              // the dial, and the frame round the digits

  private:
    void stack_as_designed();
};

}  // namespace tickwell
