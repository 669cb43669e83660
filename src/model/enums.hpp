// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <tickwell/platform/api.hpp>

namespace tickwell {

// The control's enums. Each list below is the one definition of an enum's members: the C++
// enumerator, the name the type library gives it, and its value. The C++ types, the type
// library's name tables and the Qt hosts' enums are all expanded from these lists.
//
// The underlying type is 16 bits, as the fields that hold them: a field keeps any value the
// platform's conversion lets through (a ClockMode of 7 counts down like 1), so code that
// switches on one of these must say what an unnamed value does.

// X(cpp_name, library_name, qt_name, value): the Qt hosts name a value as Qt names its own
#define TICKWELL_APPEARANCE_VALUES(X) \
    X(flat, swFlat, Flat, 0) X(raised, swRaised, Raised, 1) X(lowered, swLowered, Lowered, 2)
#define TICKWELL_CLOCK_FACE_VALUES(X) \
    X(rectangle, swRectangle, Rectangle, 0) X(oval, swOval, Oval, 1)
#define TICKWELL_CLOCK_MODE_VALUES(X) \
    X(normal, swNormal, CountUp, 0) X(count_down, swCountDown, CountDown, 1)
#define TICKWELL_DISPLAY_VALUES(X) X(analog, swAnalog, Analog, 0) X(digital, swDigital, Digital, 1)
#define TICKWELL_ACCURACY_VALUES(X) \
    X(units, SwUnits, Units, 0)     \
    X(tenths, SwTenths, Tenths, 1) X(hundredths, SwHundredths, Hundredths, 2)
// clang-format off
#define TICKWELL_MOUSE_POINTER_VALUES(X)                                                          \
    X(default_, swDefault, DefaultPointer, 0) X(arrow, swArrow, ArrowPointer, 1) X(cross_hair, swCrossHair, CrossPointer, 2)                 \
    X(i_beam, swIBeam, IBeamPointer, 3) X(icon, swIcon, IconPointer, 4) X(size, swSize, SizePointer, 5) X(size_nesw, swNESW, SizeBDiagPointer, 6)           \
    X(size_ns, swNS, SizeVerPointer, 7) X(size_nwse, swNWSE, SizeFDiagPointer, 8) X(size_we, swWE, SizeHorPointer, 9) X(up_arrow, swUpArrow, UpArrowPointer, 10)    \
    X(hourglass, swHourglass, WaitPointer, 11) X(no_drop, swNoDrop, ForbiddenPointer, 12)                                        \
    X(arrow_hourglass, swArrowHourglass, BusyPointer, 13) X(arrow_question_mark, swArrowQuestionMark, WhatsThisPointer, 14)      \
    X(size_all, swSizeAll, SizeAllPointer, 15) X(custom, swCustom, CustomPointer, 99)
// clang-format on

// X(CppType, library_name, VALUES): every enum, in the type library's order.
#define TICKWELL_ENUMS(X)                                     \
    X(Appearance, StyleConstants, TICKWELL_APPEARANCE_VALUES) \
    X(ClockFace, FaceConstants, TICKWELL_CLOCK_FACE_VALUES)   \
    X(ClockMode, ModeConstants, TICKWELL_CLOCK_MODE_VALUES)   \
    X(Display, DisplayConstants, TICKWELL_DISPLAY_VALUES)     \
    X(Accuracy, AccuracyConstants, TICKWELL_ACCURACY_VALUES)  \
    X(MousePointer, MousePointerConstants, TICKWELL_MOUSE_POINTER_VALUES)

#define TICKWELL_ENUMERATOR(cpp_name, library_name, qt_name, value) cpp_name = value,
#define TICKWELL_ENUM_TYPE(Type, library_name, VALUES) \
    enum class Type : std::int16_t { VALUES(TICKWELL_ENUMERATOR) };
TICKWELL_ENUMS(TICKWELL_ENUM_TYPE)
#undef TICKWELL_ENUM_TYPE
#undef TICKWELL_ENUMERATOR

/// An enum value as the interface carries it (enums are 32-bit there).
template <typename Enum>
constexpr std::int32_t to_long(Enum e) {
    return static_cast<std::int32_t>(e);
}

/// A value of one of the control's enums, as the type library names it.
struct TICKWELL_API EnumMember {
    std::string_view name;     ///< "swDigital"; also its help string
    std::int32_t value;        ///< the value a property holds
    std::string_view qt_name;  ///< the value's name in the Qt hosts
};

/// One of the control's enums, as the type library describes it.
struct TICKWELL_API EnumInfo {
    std::string_view name;                ///< the type library's name ("DisplayConstants")
    std::string_view type_name;           ///< the C++ type, and the enum's name in the Qt hosts
    std::span<const EnumMember> members;  ///< in the order of their values
    /// The member's name for `value`; empty for a value the enum does not name.
    std::string_view name_of(std::int32_t value) const;
};

/// The type library's description of each enum, in its order.
TICKWELL_API std::span<const EnumInfo> enum_infos();
/// The description of the enum `Enum` (one of the control's enum types).
template <typename Enum>
const EnumInfo& enum_info();

// --- What follows from a value ---------------------------------------------------------

/// The angle constant the analog face has always used: hands and marks agree on it.
inline constexpr double kFacePi = 3.1416;

/// How far the white highlight copies of marks, hub and hands lie from their elements, in
/// twips: up and to the left on a raised face, down and to the right on a lowered one.
constexpr double highlight_offset(Appearance appearance) {
    switch (appearance) {
        case Appearance::raised:
            return -15;
        case Appearance::lowered:
            return 15;
        default:
            return 0;
    }
}

/// What the digital face does at each Accuracy: the one table the tick, the layout and the
/// digit update read.
struct TICKWELL_API AccuracyTraits {
    /// The tick period in milliseconds; 0 keeps the period the timer had.
    std::int32_t tick_ms;
    /// The fraction cells shown after the seconds (0, tenths, or tenths and hundredths).
    int fraction_cells;
    /// The control's width divided by this gives a whole digit cell's width.
    double width_divisor;
    /// Whether the layout shows or hides the fraction cells (an unknown accuracy leaves them).
    bool sets_fraction_visibility;
};
/// The traits of `accuracy`; a value the enum does not name keeps the timer's period and
/// the fraction cells as they are.
TICKWELL_API const AccuracyTraits& accuracy_traits(Accuracy accuracy);

}  // namespace tickwell
