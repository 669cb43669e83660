// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

namespace tickwell {

class Picture;
/// Pictures are immutable and shared by reference: an image that takes the picture of
/// another image shows the very same object. A null reference is the empty picture.
using PictureRef = std::shared_ptr<const Picture>;

/// A point of a vector drawing, in the drawing's logical frame.
struct TICKWELL_API PointD {
    double x = 0;  ///< rightward from the frame's left edge
    double y = 0;  ///< downward from the frame's top edge
};

/// One closed polygon of a vector drawing, filled with the even-odd rule and/or outlined.
/// Colours are 0x00BBGGRR.
struct TICKWELL_API DrawnPolygon {
    std::vector<PointD> points;    ///< the corners, in order; the last joins the first
    bool filled = false;           ///< whether the inside is painted with fill_color
    std::uint32_t fill_color = 0;  ///< the inside's colour
    double pen_width = 0;          ///< in logical units; 0 draws no outline
    std::uint32_t pen_color = 0;   ///< the outline's colour
};

/// A drawing in its own logical frame, stretched by whoever shows it to any box.
struct TICKWELL_API VectorDrawing {
    /// The logical frame's size: the box the drawing is stretched to maps onto it.
    /// @{
    double frame_width = 0;
    double frame_height = 0;
    /// @}
    std::vector<DrawnPolygon> polygons;  ///< in drawing order
};

/// A picture: a vector drawing of the control's own (the digital face's glyphs), or the
/// bytes of an image file a host or a property bag gave (MouseIcon). Made only by
/// make_vector() and make_encoded(), and never changed after.
class TICKWELL_API Picture {
  public:
    /// Which of the two a picture is.
    enum class Kind { vector, encoded };

    /// The most pixels a picture may have once decoded (4096 x 4096: 64 MiB at four bytes a
    /// pixel), and the longest side, the widest image the hosts' PNG decoder takes. Its size
    /// is read from the file's header before anything decodes it, so that no renderer ever
    /// holds more.
    /// @{
    static constexpr std::int64_t kMostPixels = std::int64_t{4096} * 4096;
    static constexpr std::int64_t kLongestSide = 1'000'000;
    /// @}

    /// A vector picture; name identifies it to people ("glyph:7").
    static PictureRef make_vector(std::string name, VectorDrawing drawing);

    /// A picture kept as the bytes of an image file. The format is "png", "bmp", "ico" or
    /// "svg". The data is taken only once it has been decoded whole, and the size in pixels
    /// is the decoded one: throws Error(invalid_picture) when the data is not a picture of
    /// that format, is cut short or damaged anywhere, or is one beyond kMostPixels pixels or
    /// kLongestSide on a side (an icon: any of its images).
    static PictureRef make_encoded(std::string format, std::vector<std::uint8_t> data);

    /// The format guessed from a file name's extension ("png" for "x.PNG"), or "" if unknown.
    static std::string format_for_path(std::string_view path);

    /// Whether the picture is a vector drawing or encoded bytes.
    Kind kind() const { return kind_; }
    /// A vector picture's name ("glyph:7"); empty for an encoded one.
    const std::string& name() const { return name_; }
    /// A vector picture's drawing; empty for an encoded one.
    const VectorDrawing& drawing() const { return drawing_; }
    /// An encoded picture's format ("png", "bmp", "ico" or "svg") and its file's bytes,
    /// exactly as given; empty for a vector one.
    /// @{
    const std::string& format() const { return format_; }
    std::span<const std::uint8_t> data() const { return data_; }
    /// @}
    /// The size in pixels: an encoded picture's decoded size, a vector picture's logical
    /// frame in whole units.
    /// @{
    int pixel_width() const { return width_; }
    int pixel_height() const { return height_; }
    /// @}

    /// "glyph:7" for a named vector picture, "picture:32x32" for an encoded one.
    std::string describe() const;

  private:
    Picture() = default;

    Kind kind_ = Kind::vector;
    std::string name_;
    VectorDrawing drawing_;
    std::string format_;
    std::vector<std::uint8_t> data_;
    int width_ = 0;
    int height_ = 0;
};

/// "nothing" for the empty picture, else Picture::describe().
TICKWELL_API std::string describe(const PictureRef& picture);

}  // namespace tickwell
