// SPDX-License-Identifier: MIT
#include <tickwell/platform/element.hpp>

#include <cmath>

#include <tickwell/platform/error.hpp>
#include <tickwell/platform/scene.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {
namespace {

[[noreturn]] void refuse(const Element& e, std::string_view attribute, const std::string& value) {
    throw Error(ErrorKind::invalid_value,
                e.label() + "." + std::string(attribute) + " cannot be " + value);
}

void require_position(const Element& e, std::string_view attribute, float v) {
    if (!std::isfinite(v)) refuse(e, attribute, shortest_text(v));
}

void require_size(const Element& e, std::string_view attribute, float v) {
    if (!(std::isfinite(v) && v >= 0)) refuse(e, attribute, shortest_text(v));
}

void require_width(const Element& e, std::int16_t pixels) {
    if (pixels < 0) refuse(e, "BorderWidth", std::to_string(pixels));
}

}  // namespace

void Element::check_border_width(std::int16_t pixels) const {
    require_width(*this, pixels);
}

namespace {

// Assigns and reports a change only when the value differs: repainting is driven by
// changes, and the display update writes many values that are already in place.
template <typename T>
bool assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

}  // namespace

std::string Element::label() const {
    return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Element::set_visible(bool visible) {
    if (assign(visible_, visible)) touch();
}

void Element::touch() {
    scene_->element_changed(*this);
}

void Element::touch_position() {
    scene_->element_changed(*this, false);
}

void BoxElement::set_left(float v) {
    require_position(*this, "Left", v);
    if (assign(left_, v)) touch();
}
void BoxElement::set_top(float v) {
    require_position(*this, "Top", v);
    if (assign(top_, v)) touch();
}
void BoxElement::set_width(float v) {
    require_size(*this, "Width", v);
    if (assign(width_, v)) touch();
}
void BoxElement::set_height(float v) {
    require_size(*this, "Height", v);
    if (assign(height_, v)) touch();
}
void BoxElement::move(float left, float top, float width, float height) {
    require_position(*this, "Left", left);
    require_position(*this, "Top", top);
    require_size(*this, "Width", width);
    require_size(*this, "Height", height);
    bool changed = assign(left_, left);
    changed |= assign(top_, top);
    changed |= assign(width_, width);
    changed |= assign(height_, height);
    if (changed) touch();
}
void BoxElement::copy_box_from(const BoxElement& o) {
    copy_settings_from(o);
    left_ = o.left_;
    top_ = o.top_;
    width_ = o.width_;
    height_ = o.height_;
}

ImageElement::ImageElement(Scene& scene, const ImageElement& member0, int index)
    : BoxElement(scene, ElementKind::image, member0.name(), index) {
    copy_box_from(member0);
    picture_ = member0.picture_;
    stretch_ = member0.stretch_;
    tag_ = member0.tag_;
}
void ImageElement::set_picture(PictureRef picture) {
    if (assign(picture_, std::move(picture))) touch();
}
void ImageElement::set_stretch(bool stretch) {
    if (assign(stretch_, stretch)) touch();
}
void ImageElement::set_tag(std::string tag) {
    tag_ = std::move(tag);
}

ShapeElement::ShapeElement(Scene& scene, const ShapeElement& member0, int index)
    : BoxElement(scene, ElementKind::shape, member0.name(), index) {
    copy_box_from(member0);
    shape_ = member0.shape_;
    border_width_ = member0.border_width_;
    border_color_ = member0.border_color_;
    fill_color_ = member0.fill_color_;
    fill_style_ = member0.fill_style_;
    outline_style_ = member0.outline_style_;
}
void ShapeElement::set_shape(ShapeKind shape) {
    if (assign(shape_, shape)) touch();
}
void ShapeElement::set_border_width(std::int16_t pixels) {
    require_width(*this, pixels);
    if (assign(border_width_, pixels)) touch();
}
void ShapeElement::set_border_color(std::uint32_t color) {
    if (assign(border_color_, color)) touch();
}
void ShapeElement::set_fill_color(std::uint32_t color) {
    if (assign(fill_color_, color)) touch();
}
void ShapeElement::set_fill_style(FillStyle style) {
    if (assign(fill_style_, style)) touch();
}
void ShapeElement::set_outline_style(OutlineStyle style) {
    if (assign(outline_style_, style)) touch();
}

void LineElement::set_x1(float v) {
    require_position(*this, "X1", v);
    if (assign(x1_, v)) touch_position();
}
void LineElement::set_y1(float v) {
    require_position(*this, "Y1", v);
    if (assign(y1_, v)) touch_position();
}
void LineElement::set_x2(float v) {
    require_position(*this, "X2", v);
    if (assign(x2_, v)) touch_position();
}
void LineElement::set_y2(float v) {
    require_position(*this, "Y2", v);
    if (assign(y2_, v)) touch_position();
}
void LineElement::set_border_width(std::int16_t pixels) {
    require_width(*this, pixels);
    if (assign(border_width_, pixels)) touch();
}
void LineElement::set_border_color(std::uint32_t color) {
    if (assign(border_color_, color)) touch();
}

void TimerElement::report_change() {
    scene().timer_changed(*this);
}

void TimerElement::set_interval(std::int32_t milliseconds) {
    if (milliseconds < 0 || milliseconds > 65535)
        refuse(*this, "Interval", std::to_string(milliseconds));
    if (assign(interval_, milliseconds)) report_change();
}
void TimerElement::set_enabled(bool enabled) {
    if (assign(enabled_, enabled)) report_change();
}

}  // namespace tickwell
