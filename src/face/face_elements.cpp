// SPDX-License-Identifier: MIT
#include <tickwell/face/face_elements.hpp>

#include <string>

#include <tickwell/face/glyphs.hpp>

namespace tickwell {
namespace {

TimerElement& timer(Scene& scene, const char* name, std::int32_t interval) {
    auto& t = scene.add<TimerElement>(name);
    t.set_enabled(false);
    t.set_interval(interval);
    return t;
}

ImageElement& image(Scene& scene, const char* name, int index, const PictureRef& glyph, float left,
                    float top, float width, float height) {
    auto& i = scene.add<ImageElement>(name, index);
    if (glyph) {
        i.set_picture(glyph);
        i.set_stretch(true);
    }
    i.move(left, top, width, height);
    return i;
}

ShapeElement& disc(Scene& scene, const char* name, std::uint32_t color, float left, float top,
                   float size, int index = -1) {
    auto& s = scene.add<ShapeElement>(name, index);
    s.set_shape(ShapeKind::circle);
    s.set_fill_style(FillStyle::solid);
    s.set_border_color(color);
    s.set_fill_color(color);
    s.move(left, top, size, size);
    return s;
}

LineElement& line(Scene& scene, const char* name, int index, std::uint32_t color, float x1,
                  float y1, float x2, float y2) {
    auto& l = scene.add<LineElement>(name, index);
    l.set_border_color(color);
    l.set_x1(x1);
    l.set_y1(y1);
    l.set_x2(x2);
    l.set_y2(y2);
    return l;
}

ShapeElement& border(Scene& scene) {
    auto& b = scene.add<ShapeElement>("Border");
    b.set_outline_style(OutlineStyle::inside_solid);
    b.set_fill_color(kButtonFace);
    b.set_fill_style(FillStyle::solid);
    b.move(0, 0, 990, 990);
    return b;
}

constexpr float kDigitLefts[] = {45, 375, 975, 1305, 1905, 2235, 2580, 2805};

}  // namespace

FaceElements::FaceElements()
    : SWTimer(timer(scene, "SWTimer", 250)),
      ColonTimer(timer(scene, "ColonTimer", 500)),
      IconIm(image(scene, "IconIm", -1, nullptr, 2640, 165, 465, 465)),
      DisplayIm(image(scene, "DisplayIm", 0, glyphs::digit(0), kDigitLefts[0], 1245, 330, 540)),
      NumIm(image(scene, "NumIm", 0, glyphs::digit(0), 1080, 45, 330, 540)),
      ColonIm(image(scene, "ColonIm", 0, glyphs::colon(), 705, 1245, 225, 540)),
      Hub(disc(scene, "Hub", 0, 435, 435, 120)),
      HubSh(disc(scene, "HubSh", kWhite, 0, 0, 120)),
      Dot(disc(scene, "Dot", kMarkGrey, 135, 705, 60, 0)),
      DotSh(disc(scene, "DotSh", kWhite, 150, 720, 60, 0)),
      Hand(line(scene, "Hand", 0, 0, 495, 495, 495, 0)),
      HandSh(line(scene, "HandSh", 0, kWhite, 720, 90, 720, 570)),
      Border(border(scene)) {
    IconIm.set_visible(false);
    for (int i = 0; i < 8; ++i) {
        if (i > 0) {
            const bool small = i >= 6;
            DisplayIm.adopt(image(scene, "DisplayIm", i, glyphs::digit(0), kDigitLefts[i],
                                  small ? 1395 : 1245, small ? 225 : 330, small ? 375 : 540),
                            i);
        }
        set_shown_digit(i, 0);
    }
    for (int d = 0; d < 12; ++d) {
        if (d > 0) {
            const bool blank = d >= 10;
            NumIm.adopt(image(scene, "NumIm", d, blank ? glyphs::blank() : glyphs::digit(d),
                              blank ? (d == 10 ? 1770 : 2085) : 1080, 45, 330, 540),
                        d);
        }
        NumIm(d).set_visible(d >= 10);
    }
    ColonIm.adopt(image(scene, "ColonIm", 1, glyphs::colon(), 1635, 1245, 225, 540), 1);
    for (int i = 1; i < 3; ++i) {
        Hand.adopt(line(scene, "Hand", i, 0, 0, 495, 0, 0), i);
        HandSh.adopt(line(scene, "HandSh", i, kWhite, 0, 0, 0, 480), i);
    }
    stack_as_designed();
}

void FaceElements::stack_as_designed() {
    // Back to front: Border is the backmost element; every hand lies in front of every
    // hand shadow, the hub covers the pivot, and the digit cells are in front of all.
    Element* back_to_front[] = {
        &Border,       &IconIm,       &HandSh(0),    &DotSh(0),     &HubSh,        &HandSh(2),
        &HandSh(1),    &Hand(0),      &Hand(1),      &Hand(2),      &Dot(0),       &Hub,
        &NumIm(0),     &NumIm(1),     &ColonIm(0),   &ColonIm(1),   &NumIm(2),     &NumIm(3),
        &NumIm(4),     &NumIm(5),     &NumIm(6),     &NumIm(7),     &NumIm(8),     &NumIm(9),
        &DisplayIm(0), &DisplayIm(1), &DisplayIm(2), &DisplayIm(3), &DisplayIm(4), &DisplayIm(5),
        &NumIm(10),    &NumIm(11),    &DisplayIm(6), &DisplayIm(7)};
    for (Element* e : back_to_front)
        scene.bring_to_front(*e);
}

void FaceElements::complete_hour_marks() {
    for (int i = 1; i < 12; ++i) {
        auto& shadow = DotSh.load(scene, i);
        shadow.set_visible(true);
        scene.bring_to_front(shadow);
        auto& mark = Dot.load(scene, i);
        mark.set_visible(true);
        scene.bring_to_front(mark);
    }
}

void FaceElements::set_shown_digit(int position, int digit) {
    DisplayIm(position).set_tag(std::to_string(digit));
    shown_digits_[static_cast<std::size_t>(position)] = digit;
}

}  // namespace tickwell
