// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <tickwell/platform/api.hpp>
#include <tickwell/platform/element_array.hpp>
#include <tickwell/platform/scene.hpp>
#include <tickwell/platform/system_colors.hpp>

#include <tickwell/face/glyphs.hpp>

namespace tickwell {

/// The classic face's white highlight copies and grey hour marks.
/// @{
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kMarkGrey = 0x00808080;
/// @}

/// The colours a new control's face starts with. The classic ones are fixed; a container
/// that paints system colours from a desktop scheme starts its controls in system colours,
/// which follow that scheme, dark or light: hands, hub and border in the button's text
/// colour, the marks in its shadow, the white copies in its highlight, the digits in the text
/// colour on the background of a document. The dial is the button face in both.
struct TICKWELL_API FaceColors {
    std::uint32_t hands;         ///< and the hub: ForeColor
    std::uint32_t border;        ///< BorderColor
    std::uint32_t marks;         ///< the hour marks
    std::uint32_t highlights;    ///< the white copies of the raised and lowered faces
    glyphs::GlyphColors digits;  ///< the digital face: SegmentColor and CellColor

    /// The classic fixed colours, the same pixels everywhere.
    static FaceColors classic();
    /// The system colours, which the host's palette paints.
    static FaceColors system();
};

/// The child elements of one control, for both faces, with their settings at creation.
/// The scene owns them; the members below address them by their names.
struct TICKWELL_API FaceElements {
    /// Creates the elements in the order the face was designed in, in `colors`.
    explicit FaceElements(const FaceColors& colors = FaceColors::classic());
    /// \cond internal
    FaceElements(const FaceElements&) = delete;
    FaceElements& operator=(const FaceElements&) = delete;
    /// \endcond

    /// Creates Dot(1..11) and DotSh(1..11), each brought to the front as it is made: done
    /// once, when the control is created.
    void complete_hour_marks();

    Scene scene;                           ///< owns every element below
    TimerElement& SWTimer;                 ///< the tick
    TimerElement& ColonTimer;              ///< the colon blink
    ImageElement& IconIm;                  ///< never shown: holds the custom pointer picture
    ElementArray<ImageElement> DisplayIm;  ///< digit cells: h h m m s s tenths hundredths
    ElementArray<ImageElement> NumIm;      ///< glyph store: NumIm(d) holds digit d; 10, 11 blank
    ElementArray<ImageElement> ColonIm;    ///< the two colons
    ShapeElement& Hub;                     ///< the analog face's centre
    ShapeElement& HubSh;                   ///< its white copy
    ElementArray<ShapeElement> Dot;        ///< hour marks, Dot(0) at twelve o'clock
    ElementArray<ShapeElement> DotSh;      ///< white copies of the marks
    ElementArray<LineElement> Hand;        ///< 0 second, 1 minute, 2 hour hand
    ElementArray<LineElement> HandSh;      ///< white copies of the hands
    ShapeElement& Border;                  ///< the dial, and the frame round the digits

    /// The digit cache of cell `position`: the digit its Tag holds.
    int shown_digit(int position) const {
        return shown_digits_[static_cast<std::size_t>(position)];
    }
    /// Sets the digit cache of cell `position`: its Tag, and a copy kept beside the other
    /// cells' copies. A running watch compares every cell's cache at every tick, and reading
    /// the Tags of eight cells that lie apart in memory costs that many trips to it.
    void set_shown_digit(int position, int digit);

    /// The colours of the digital face's glyphs. Setting them gives every image that shows a
    /// glyph (the cells, the glyph store, the colons) the same glyph in the new colours.
    /// @{
    const glyphs::GlyphColors& glyph_colors() const { return glyph_colors_; }
    void set_glyph_colors(const glyphs::GlyphColors& colors);
    /// @}

  private:
    void stack_as_designed();

    std::array<int, 8> shown_digits_{};
    glyphs::GlyphColors glyph_colors_;
};

}  // namespace tickwell
