// SPDX-License-Identifier: MIT
#include <tickwell/face/draw_clock.hpp>

#include <cmath>

#include <tickwell/face/glyphs.hpp>

namespace tickwell {
namespace {

void draw_hands(FaceElements& face, const ClockState& s) {
    const double d = highlight_offset(s.Appearance);
    const std::int16_t fields[3] = {s.Seconds, s.Minutes, s.Hours};
    for (int i = 0; i < 3; ++i) {
        // 6 degrees per unit of the field, clockwise from twelve o'clock. Worked in 32 bits
        // so that an out-of-range field from a foreign bag points somewhere instead of failing.
        const std::int32_t degrees = 90 - 6 * std::int32_t{fields[i]};
        const double r = degrees * kFacePi / 180.0;
        const double length = s.HandLength[static_cast<std::size_t>(i)];
        LineElement& hand = face.Hand(i);
        hand.set_x2(static_cast<float>(hand.x1() + std::cos(r) * length));
        hand.set_y2(static_cast<float>(hand.y1() - std::sin(r) * length));
        LineElement& shadow = face.HandSh(i);
        shadow.set_x1(static_cast<float>(hand.x1() + d));
        shadow.set_x2(static_cast<float>(hand.x2() + d));
        shadow.set_y1(static_cast<float>(hand.y1() + d));
        shadow.set_y2(static_cast<float>(hand.y2() + d));
    }
}

// Rounded down, so that a negative field from a foreign bag shows a negative tens digit.
int tens_digit(std::int16_t field) {
    return field >= 0 ? field / 10 : -((9 - field) / 10);
}
int units_digit(std::int16_t field) {
    return field % 10;
}

bool draw_digits(FaceElements& face, const ClockState& s) {
    int digits[8] = {tens_digit(s.Hours),
                     units_digit(s.Hours),
                     tens_digit(s.Minutes),
                     units_digit(s.Minutes),
                     tens_digit(s.Seconds),
                     units_digit(s.Seconds),
                     s.Tens,
                     s.Hundreds};
    const int positions = 6 + accuracy_traits(s.Accuracy).fraction_cells;
    bool changed = false;
    for (int p = 0; p < positions; ++p) {
        const int digit = digits[p];
        if (face.shown_digit(p) == digit) continue;
        ImageElement& cell = face.DisplayIm(p);
        if (!s.IgnoreDisplay) {
            // There is no glyph for a digit outside 0 to 9 (a field out of its range): the
            // cell then shows the blank glyph rather than failing the update.
            cell.set_picture(digit >= 0 && digit <= 9 ? face.NumIm(digit).picture()
                                                      : face.NumIm(10).picture());
        }
        face.set_shown_digit(p, digit);
        changed = true;
    }
    return changed;
}

}  // namespace

bool DrawClock(FaceElements& face, const ClockState& state) {
    if (state.Display == Display::analog) {
        draw_hands(face, state);
        return false;
    }
    return draw_digits(face, state);
}

}  // namespace tickwell
