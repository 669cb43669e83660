// SPDX-License-Identifier: MIT
#include <tickwell/face/arrange_clock.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

#include <tickwell/face/draw_clock.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {
namespace {

// The screen's twips per pixel as whole numbers. A screen reporting less than one twip per
// pixel would divide by zero below; it counts as one.
std::int32_t whole_twips(double twips) {
    const double r = round_half_even(twips);
    return r >= 1 && r <= 32767 ? static_cast<std::int32_t>(r) : (r > 32767 ? 32767 : 1);
}

float at_least_zero(double x) {
    return static_cast<float>(std::max(0.0, x));
}

std::int16_t saturate16(double x) {
    return static_cast<std::int16_t>(std::clamp(x, 0.0, 32767.0));
}

// A border product (width x 2 x twips per pixel) in 32 bits: it cannot overflow there, and
// an oversized border then gives sizes that clamp at zero instead of failing the layout.
struct BorderRoom {
    std::int32_t x2;  // bw * 2 * tx
    std::int32_t y2;  // bw * 2 * ty
    std::int32_t x;   // bw * tx
    std::int32_t y;   // bw * ty
};

void arrange_digital(FaceElements& f, const ClockState& s, float W, float H, std::int32_t tx,
                     std::int32_t ty, const BorderRoom& b) {
    f.Border.set_shape(ShapeKind::rectangle);
    const AccuracyTraits& accuracy = accuracy_traits(s.Accuracy);
    const double k = accuracy.width_divisor;

    ImageElement& first = f.DisplayIm(0);
    first.set_width(at_least_zero(std::floor(((W - b.x2) / k) / tx) * tx));
    first.set_height(at_least_zero(H - b.y2));
    first.set_top(static_cast<float>(b.y));
    const float digit_width = first.width(), digit_height = first.height();
    for (int i = 1; i <= 5; ++i)
        f.DisplayIm(i).move(f.DisplayIm(i).left(), first.top(), digit_width, digit_height);

    const float narrow_width = static_cast<float>(std::floor(0.7 * digit_width / tx) * tx);
    const float small_height = static_cast<float>(std::floor(0.7 * digit_height / ty) * ty);
    for (int i = 6; i <= 7; ++i) {
        f.DisplayIm(i).set_width(narrow_width);
        f.DisplayIm(i).set_height(small_height);
    }
    for (int i = 6; i <= 7; ++i)
        f.DisplayIm(i).set_top(first.top() + digit_height - f.DisplayIm(i).height());
    for (int i = 0; i <= 1; ++i) {
        ImageElement& colon = f.ColonIm(i);
        colon.set_height(digit_height);
        colon.set_top(first.top());
    }

    // The digit widths are whole pixels, rounded down: the pixels left over go to the two
    // colons, so that the cells and the frame fill the control's width.
    const int small_cells = accuracy.fraction_cells;
    const double row_width =
        6.0 * digit_width + 2.0 * narrow_width + small_cells * f.DisplayIm(6).width();
    const double spare_pixels = std::max(0.0, std::floor((W - b.x2 - row_width) / tx));
    const double first_colon_pixels = std::floor(spare_pixels / 2);
    f.ColonIm(0).set_width(static_cast<float>(narrow_width + first_colon_pixels * tx));
    f.ColonIm(1).set_width(
        static_cast<float>(narrow_width + (spare_pixels - first_colon_pixels) * tx));

    // Cells left to right: h h : m m : s s tenths hundredths.
    ImageElement* row[] = {&f.DisplayIm(0), &f.DisplayIm(1), &f.ColonIm(0),   &f.DisplayIm(2),
                           &f.DisplayIm(3), &f.ColonIm(1),   &f.DisplayIm(4), &f.DisplayIm(5),
                           &f.DisplayIm(6), &f.DisplayIm(7)};
    row[0]->set_left(static_cast<float>(b.x));
    for (std::size_t i = 1; i < std::size(row); ++i)
        row[i]->set_left(row[i - 1]->left() + row[i - 1]->width());

    f.Border.set_width(at_least_zero(W));
    f.Border.set_height(static_cast<float>(b.y2 + digit_height));
    f.scene.send_to_back(f.Border);

    // The blank glyphs behind the colons keep the cells grey while a colon blinks off.
    for (int i = 0; i <= 1; ++i) {
        const ImageElement& colon = f.ColonIm(i);
        f.NumIm(10 + i).move(colon.left(), colon.top(), colon.width(), colon.height());
    }
    f.scene.bring_to_front(f.ColonIm(0));
    f.scene.bring_to_front(f.ColonIm(1));
}

void arrange_analog(FaceElements& f, ClockState& s, float W, float H, const BorderRoom& b) {
    s.Accuracy = Accuracy::units;
    f.Border.set_shape(s.ClockFace != ClockFace::rectangle ? ShapeKind::oval
                                                           : ShapeKind::rectangle);

    const double radius =
        std::max(0.0, W >= H ? round_half_even(H / 2.0 - b.y) : round_half_even(W / 2.0 - b.x));
    s.HandLength[0] = saturate16(radius);
    f.Hand(0).set_x1(W / 2);
    f.Hand(0).set_y1(H / 2);
    for (int i = 1; i <= 2; ++i) {
        f.Hand(i).set_x1(f.Hand(0).x1());
        f.Hand(i).set_y1(f.Hand(0).y1());
    }
    const double R = s.HandLength[0];
    s.HandLength[1] = saturate16(round_half_even(0.75 * R));
    s.HandLength[2] = saturate16(round_half_even(0.5 * R));

    DrawClock(f, s);

    const float pivot_x = f.Hand(0).x1(), pivot_y = f.Hand(0).y1();
    f.Hub.set_width(static_cast<float>(0.121 * W));
    f.Hub.set_height(static_cast<float>(0.121 * H));
    f.HubSh.set_width(f.Hub.width());
    f.HubSh.set_height(f.Hub.height());
    f.Hub.set_left(pivot_x - f.Hub.width() / 2);
    f.Hub.set_top(pivot_y - f.Hub.height() / 2);

    if (s.Appearance == Appearance::flat) {
        f.Border.set_left(0);
        f.Border.set_top(0);
    }
    const auto s3d = static_cast<float>(highlight_offset(s.Appearance));
    f.HubSh.set_left(f.Hub.left() + s3d);
    f.HubSh.set_top(f.Hub.top() + s3d);

    for (int i = 0; i < 12; ++i) {
        ShapeElement& mark = f.Dot(i);
        ShapeElement& shadow = f.DotSh(i);
        mark.set_width(static_cast<float>(0.061 * W));
        mark.set_height(static_cast<float>(0.061 * H));
        shadow.set_width(static_cast<float>(0.061 * W));
        shadow.set_height(static_cast<float>(0.061 * H));
        // Half the mark's width across and half its height down, so that the ring of marks
        // stays centred on the hub when the control is not square.
        const double half_width = round_half_even(mark.width() / 2.0);
        const double half_height = round_half_even(mark.height() / 2.0);
        const double theta = (90 - 30 * i) * kFacePi / 180.0;
        const double px = round_half_even(R * std::cos(theta) + pivot_x);
        const double py = round_half_even(pivot_y - R * std::sin(theta));
        mark.set_left(static_cast<float>(px - (std::cos(theta) + 1) * half_width));
        mark.set_top(static_cast<float>(py - (1 - std::sin(theta)) * half_height));
        shadow.set_left(mark.left() + s3d);
        shadow.set_top(mark.top() + s3d);
    }

    f.ColonIm(0).set_visible(false);
    f.ColonIm(1).set_visible(false);
    f.scene.send_to_back(f.Border);
}

void set_tick_period(FaceElements& f, const ClockState& s) {
    const AccuracyTraits& accuracy = accuracy_traits(s.Accuracy);
    if (!accuracy.sets_fraction_visibility) return;  // an unknown accuracy keeps its period
    f.SWTimer.set_interval(accuracy.tick_ms);
    // Hundredths leave the tenths cell to ShowDisplay, which shows both.
    if (accuracy.fraction_cells < 2) f.DisplayIm(6).set_visible(accuracy.fraction_cells == 1);
    f.DisplayIm(7).set_visible(accuracy.fraction_cells == 2);
}

}  // namespace

void ShowDisplay(FaceElements& f, const ClockState& s, bool hide_all) {
    bool show = false;
    if (!hide_all) {
        if (s.Display == Display::analog) {
            show = true;
            f.Border.set_fill_style(FillStyle::solid);
        } else {
            f.Border.set_fill_style(FillStyle::transparent);
        }
    }
    for (int i = 0; i < 3; ++i) {
        f.Hand(i).set_visible(show);
        f.HandSh(i).set_visible(show);
    }
    f.Hub.set_visible(show);
    f.HubSh.set_visible(show);
    for (int i = 0; i < 12; ++i) {
        f.Dot(i).set_visible(show);
        f.DotSh(i).set_visible(show);
    }
    // From here on, show means that the digital set stays hidden.
    if (hide_all) show = true;
    for (int i = 0; i <= 5; ++i)
        f.DisplayIm(i).set_visible(!show);
    if (show) {
        f.DisplayIm(6).set_visible(false);
        f.DisplayIm(7).set_visible(false);
    } else {
        const int cells = accuracy_traits(s.Accuracy).fraction_cells;
        if (cells >= 1) f.DisplayIm(6).set_visible(true);
        if (cells >= 2) f.DisplayIm(7).set_visible(true);
    }
    for (int i = 0; i <= 1; ++i) {
        f.ColonIm(i).set_visible(!show);
        f.NumIm(10 + i).set_visible(!show);
    }
}

void ArrangeClock(FaceElements& f, ClockState& s, float W, float H, TwipsPerPixel screen) {
    const std::int32_t tx = whole_twips(screen.x), ty = whole_twips(screen.y);
    ShowDisplay(f, s, true);
    f.Border.set_width(at_least_zero(W));
    f.Border.set_height(at_least_zero(H));

    const std::int32_t bw = f.Border.border_width();
    const BorderRoom room{bw * 2 * tx, bw * 2 * ty, bw * tx, bw * ty};
    if (s.Display != Display::analog)
        arrange_digital(f, s, W, H, tx, ty, room);
    else
        arrange_analog(f, s, W, H, room);

    set_tick_period(f, s);
    ShowDisplay(f, s, false);
    DrawClock(f, s);
}

}  // namespace tickwell
