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

ShapeElement& border(Scene& scene, std::uint32_t color) {
    auto& b = scene.add<ShapeElement>("Border");
    b.set_border_color(color);
    b.set_outline_style(OutlineStyle::inside_solid);
    b.set_fill_color(kButtonFace);  // the dial's colour until BackGround is set
    b.set_fill_style(FillStyle::solid);
    b.move(0, 0, 990, 990);
    return b;
}

constexpr float kDigitLefts[] = {45, 375, 975, 1305, 1905, 2235, 2580, 2805};

}  // namespace

FaceColors FaceColors::classic() {
    return {0, 0, kMarkGrey, kWhite, {}};
}

FaceColors FaceColors::system() {
    constexpr std::uint32_t kWindowBackground = 0x80000005;
    constexpr std::uint32_t kWindowText = 0x80000008;
    constexpr std::uint32_t kButtonShadow = 0x80000010;
    constexpr std::uint32_t kButtonText = 0x80000012;
    constexpr std::uint32_t kButtonHighlight = 0x80000014;
    return {kButtonText,
            kButtonText,
            kButtonShadow,
            kButtonHighlight,
            {kWindowText, kWindowBackground}};
}

FaceElements::FaceElements(const FaceColors& colors)
    : SWTimer(timer(scene, "SWTimer", 250)),
      ColonTimer(timer(scene, "ColonTimer", 500)),
      IconIm(image(scene, "IconIm", -1, nullptr, 2640, 165, 465, 465)),
      DisplayIm(image(scene, "DisplayIm", 0, glyphs::digit(0, colors.digits), kDigitLefts[0], 1245,
                      330, 540)),
      NumIm(image(scene, "NumIm", 0, glyphs::digit(0, colors.digits), 1080, 45, 330, 540)),
      ColonIm(image(scene, "ColonIm", 0, glyphs::colon(colors.digits), 705, 1245, 225, 540)),
      Hub(disc(scene, "Hub", colors.hands, 435, 435, 120)),
      HubSh(disc(scene, "HubSh", colors.highlights, 0, 0, 120)),
      Dot(disc(scene, "Dot", colors.marks, 135, 705, 60, 0)),
      DotSh(disc(scene, "DotSh", colors.highlights, 150, 720, 60, 0)),
      Hand(line(scene, "Hand", 0, colors.hands, 495, 495, 495, 0)),
      HandSh(line(scene, "HandSh", 0, colors.highlights, 720, 90, 720, 570)),
      Border(border(scene, colors.border)),
      glyph_colors_(colors.digits) {
    IconIm.set_visible(false);
    for (int i = 0; i < 8; ++i) {
        if (i > 0) {
            const bool small = i >= 6;
            DisplayIm.adopt(
                image(scene, "DisplayIm", i, glyphs::digit(0, colors.digits), kDigitLefts[i],
                      small ? 1395 : 1245, small ? 225 : 330, small ? 375 : 540),
                i);
        }
        set_shown_digit(i, 0);
    }
    for (int d = 0; d < 12; ++d) {
        if (d > 0) {
            const bool blank = d >= 10;
            NumIm.adopt(
                image(scene, "NumIm", d, glyphs::glyph(blank ? glyphs::kBlank : d, colors.digits),
                      blank ? (d == 10 ? 1770 : 2085) : 1080, 45, 330, 540),
                d);
        }
        NumIm(d).set_visible(d >= 10);
    }
    ColonIm.adopt(image(scene, "ColonIm", 1, glyphs::colon(colors.digits), 1635, 1245, 225, 540),
                  1);
    for (int i = 1; i < 3; ++i) {
        Hand.adopt(line(scene, "Hand", i, colors.hands, 0, 495, 0, 0), i);
        HandSh.adopt(line(scene, "HandSh", i, colors.highlights, 0, 0, 0, 480), i);
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

void FaceElements::set_glyph_colors(const glyphs::GlyphColors& colors) {
    if (colors == glyph_colors_) return;
    glyph_colors_ = colors;
    // Each image keeps its glyph: a cell frozen by IgnoreDisplay keeps the digit it shows.
    const auto recolor = [&colors](ImageElement& image) {
        const int g = glyphs::glyph_of(image.picture());
        if (g >= 0) image.set_picture(glyphs::glyph(g, colors));
    };
    for (int i = 0; i < 8; ++i)
        recolor(DisplayIm(i));
    for (int i = 0; i < 12; ++i)
        recolor(NumIm(i));
    for (int i = 0; i < 2; ++i)
        recolor(ColonIm(i));
}

void FaceElements::set_shown_digit(int position, int digit) {
    DisplayIm(position).set_tag(std::to_string(digit));
    shown_digits_[static_cast<std::size_t>(position)] = digit;
}

}  // namespace tickwell
