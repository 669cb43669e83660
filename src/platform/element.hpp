// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/picture.hpp>

namespace tickwell {

class Scene;

/// What an element is: a picture in a box, a line, a shape in a box, or a timer (which has
/// no place on the face).
enum class ElementKind { image, line, shape, timer };
/// The figure a shape draws in its box; a circle is the largest one centred in the box.
enum class ShapeKind { rectangle, oval, circle };
/// Whether a shape's inside is painted with its fill colour or left showing what lies below.
enum class FillStyle { solid, transparent };
/// `inside_solid` draws the outline inside the shape's box, so that a thick outline never
/// grows the shape; `solid` centres the outline on the box's edge.
enum class OutlineStyle { solid, inside_solid };

/// A child element of a control's scene. Positions and sizes are twips in the control's own
/// coordinates (origin top left, y downward), held as single-precision numbers; line and
/// outline widths are pixels. Setters refuse what an element cannot take with
/// Error(invalid_value); every accepted change is reported to the scene, which keeps the
/// list of elements to repaint.
class TICKWELL_API Element {
  public:
    /// \cond internal
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    /// \endcond
    virtual ~Element() = default;

    /// The element's kind, fixed at creation; visit() turns it into the element's type.
    ElementKind kind() const { return kind_; }
    /// The name the face gives the element ("Border", "Hand"); array members share it.
    const std::string& name() const { return name_; }
    int index() const { return index_; }  ///< -1 for an element that is not an array member
    std::string label() const;            ///< "Hand(0)", "Border"

    /// Whether the element is painted (a timer runs whatever this says). True for a new
    /// element.
    /// @{
    bool visible() const { return visible_; }
    void set_visible(bool visible);
    /// @}

    /// Throws the Error that setting an outline or line width of `pixels` would throw: lets a
    /// reader check a value before it changes anything.
    void check_border_width(std::int16_t pixels) const;

    /// Set by the scene's repaint bookkeeping.
    bool changed_since_paint() const { return changed_; }

    /// The element's place in the order its scene created the elements, from 0: a dense key
    /// for a table about each element of one scene.
    std::size_t serial() const { return serial_; }

    /// \cond internal
  protected:
    Element(Scene& scene, ElementKind kind, std::string name, int index)
        : scene_(&scene), kind_(kind), name_(std::move(name)), index_(index) {}
    /// Copies the settings of `other` (an array's member 0) into a new member.
    void copy_settings_from(const Element& other) { visible_ = other.visible_; }
    void touch();
    /// A change that only moves a line's end points.
    void touch_position();
    Scene& scene() const { return *scene_; }

  private:
    friend class Scene;
    Scene* scene_;
    ElementKind kind_;
    std::string name_;
    int index_;
    bool visible_ = true;
    bool changed_ = false;  ///< repaint bookkeeping of the scene
    std::size_t serial_ = 0;
    /// \endcond
};

/// A box element (image or shape): left, top, width, height.
class TICKWELL_API BoxElement : public Element {
  public:
    /// The box in twips: its top left corner from the control's top left, and its size. A
    /// negative width or height is refused.
    /// @{
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void set_left(float v);
    void set_top(float v);
    void set_width(float v);
    void set_height(float v);
    /// @}
    /// Sets the whole box at once: one change for the scene rather than four.
    void move(float left, float top, float width, float height);

    /// \cond internal
  protected:
    using Element::Element;
    void copy_box_from(const BoxElement& o);

  private:
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    /// \endcond
};

/// A picture in a box: the face's digits, colons and bitmaps.
class TICKWELL_API ImageElement : public BoxElement {
  public:
    /// \cond internal
    ImageElement(Scene& scene, std::string name, int index)
        : BoxElement(scene, ElementKind::image, std::move(name), index) {}
    ImageElement(Scene& scene, const ImageElement& member0, int index);
    /// \endcond

    /// The picture drawn in the box; an empty reference draws nothing.
    /// @{
    const PictureRef& picture() const { return picture_; }
    void set_picture(PictureRef picture);
    /// @}
    /// A stretched image scales its picture to fill its box in both directions; otherwise
    /// the picture is drawn at its own size from the top left corner.
    /// @{
    bool stretch() const { return stretch_; }
    void set_stretch(bool stretch);
    /// @}
    /// A free text, read back unchanged.
    /// @{
    const std::string& tag() const { return tag_; }
    void set_tag(std::string tag);
    /// @}

  private:
    PictureRef picture_;
    bool stretch_ = false;
    std::string tag_;
};

/// A figure in a box, outlined and filled: the analog face's border, marks and hub.
class TICKWELL_API ShapeElement : public BoxElement {
  public:
    /// \cond internal
    ShapeElement(Scene& scene, std::string name, int index)
        : BoxElement(scene, ElementKind::shape, std::move(name), index) {}
    ShapeElement(Scene& scene, const ShapeElement& member0, int index);
    /// \endcond

    /// The figure drawn in the box; a rectangle for a new shape.
    /// @{
    ShapeKind shape() const { return shape_; }
    void set_shape(ShapeKind shape);
    /// @}
    /// The outline's width in pixels, 1 for a new shape; a negative width is refused.
    /// @{
    std::int16_t border_width() const { return border_width_; }
    void set_border_width(std::int16_t pixels);
    /// @}
    /// The outline's and the inside's colours, as the platform's 32-bit colours (an explicit
    /// colour, or a system colour that the host's palette paints).
    /// @{
    std::uint32_t border_color() const { return border_color_; }
    void set_border_color(std::uint32_t color);
    std::uint32_t fill_color() const { return fill_color_; }
    void set_fill_color(std::uint32_t color);
    /// @}
    /// Whether the inside is filled; transparent for a new shape.
    /// @{
    FillStyle fill_style() const { return fill_style_; }
    void set_fill_style(FillStyle style);
    /// @}
    /// Where the outline lies against the box's edge; see OutlineStyle.
    /// @{
    OutlineStyle outline_style() const { return outline_style_; }
    void set_outline_style(OutlineStyle style);
    /// @}

  private:
    ShapeKind shape_ = ShapeKind::rectangle;
    std::int16_t border_width_ = 1;
    std::uint32_t border_color_ = 0;
    std::uint32_t fill_color_ = 0;
    FillStyle fill_style_ = FillStyle::transparent;
    OutlineStyle outline_style_ = OutlineStyle::solid;
};

/// A straight line between two points: the analog face's hands.
class TICKWELL_API LineElement : public Element {
  public:
    /// \cond internal
    LineElement(Scene& scene, std::string name, int index)
        : Element(scene, ElementKind::line, std::move(name), index) {}
    /// \endcond

    /// The end points in twips from the control's top left; a change that only moves them
    /// repaints what the line covered and covers.
    /// @{
    float x1() const { return x1_; }
    float y1() const { return y1_; }
    float x2() const { return x2_; }
    float y2() const { return y2_; }
    void set_x1(float v);
    void set_y1(float v);
    void set_x2(float v);
    void set_y2(float v);
    /// @}
    /// The line's width in pixels, 1 for a new line; a negative width is refused.
    /// @{
    std::int16_t border_width() const { return border_width_; }
    void set_border_width(std::int16_t pixels);
    /// @}
    /// The line's colour, as the platform's 32-bit colour.
    /// @{
    std::uint32_t border_color() const { return border_color_; }
    void set_border_color(std::uint32_t color);
    /// @}

  private:
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    std::int16_t border_width_ = 1;
    std::uint32_t border_color_ = 0;
};

/// A timer element. While enabled with a positive interval, the platform runs its handler
/// about once per interval; the scene tells its timer listener of every change.
class TICKWELL_API TimerElement : public Element {
  public:
    /// \cond internal
    TimerElement(Scene& scene, std::string name, int index)
        : Element(scene, ElementKind::timer, std::move(name), index) {}
    /// \endcond

    /// The period in milliseconds, 0 to 65535; 0 stops the timer as disabling does.
    /// @{
    std::int32_t interval() const { return interval_; }
    void set_interval(std::int32_t milliseconds);
    /// @}
    /// Whether the timer runs (given a positive interval); true for a new timer.
    /// @{
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    /// @}

    /// What fire() runs: the control's tick, set by the control that owns the timer.
    void set_handler(std::function<void()> handler) { handler_ = std::move(handler); }
    /// Called by the platform when the timer is due.
    void fire() {
        if (handler_) handler_();
    }

  private:
    void report_change();

    std::int32_t interval_ = 0;
    bool enabled_ = true;
    std::function<void()> handler_;
};

/// Several lambdas as one visitor: visit(e, Overloaded{[](const LineElement&) {...}, ...}).
template <typename... Fs>
struct TICKWELL_API Overloaded : Fs... {
    using Fs::operator()...;
};
/// Deduces an Overloaded from its lambdas.
template <typename... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

/// Calls `visitor` with the element as its own kind: the one place that turns a kind into a
/// type, for renderers and every other reader that treats the kinds differently.
template <typename Visitor>
decltype(auto) visit(const Element& element, Visitor&& visitor) {
    switch (element.kind()) {
        case ElementKind::image:
            return visitor(static_cast<const ImageElement&>(element));
        case ElementKind::line:
            return visitor(static_cast<const LineElement&>(element));
        case ElementKind::shape:
            return visitor(static_cast<const ShapeElement&>(element));
        case ElementKind::timer:
            break;
    }
    return visitor(static_cast<const TimerElement&>(element));
}

}  // namespace tickwell
