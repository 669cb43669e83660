// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/model/member_facts.hpp>

namespace tickwell {

class VexClock;

// --- The platform's side: fields and frame ---------------------------------------------

/// A text box of an open page.
class TICKWELL_API TextBoxField {
  public:
    virtual ~TextBoxField() = default;
    /// The box's text as the user left it, or as set_text() set it.
    /// @{
    virtual std::string text() const = 0;
    virtual void set_text(const std::string& text) = 0;
    /// @}
    /// Moves the keyboard focus into this box.
    virtual void set_focus() = 0;
};

/// A combo box of an open page. List indexes count from 0; -1 is "no item".
class TICKWELL_API ComboBoxField {
  public:
    virtual ~ComboBoxField() = default;
    /// Removes every item.
    virtual void clear() = 0;
    /// Appends an item to the list.
    virtual void add_item(const std::string& text) = 0;
    /// The selected item, or -1.
    virtual int list_index() const = 0;
    /// Fails with Error(invalid_value) for an index that is not -1 and names no item.
    virtual void set_list_index(int index) = 0;
};

/// A check box of an open page: 0 unchecked, 1 checked, 2 greyed.
class TICKWELL_API CheckBoxField {
  public:
    static constexpr int unchecked = 0;  ///< the box's value when clear
    static constexpr int checked = 1;    ///< the box's value when ticked
    virtual ~CheckBoxField() = default;
    /// The box's state: unchecked, checked, or 2 for greyed.
    /// @{
    virtual int value() const = 0;
    virtual void set_value(int value) = 0;
    /// @}
};

/// The fields of one open page, by their names. Labels are data only (FieldInfo): no page
/// changes a caption.
class TICKWELL_API PageFields {
  public:
    virtual ~PageFields() = default;
    /// The field of that name and kind, as the page's FieldInfo names it ("txtAlertTime").
    /// @{
    virtual TextBoxField& text_box(std::string_view name) = 0;
    virtual ComboBoxField& combo_box(std::string_view name) = 0;
    virtual CheckBoxField& check_box(std::string_view name) = 0;
    /// @}
};

/// The designer's property-page frame that hosts a page.
class TICKWELL_API PageFrame {
  public:
    virtual ~PageFrame() = default;
    /// The controls selected in the designer, indexed from 0; a page is only shown with at
    /// least one.
    virtual std::size_t selected_count() const = 0;
    /// The selected control at `index`, below selected_count().
    virtual VexClock& selected_control(std::size_t index) = 0;
    /// While set, the frame offers its apply action.
    /// @{
    virtual bool changed() const = 0;
    virtual void set_changed(bool changed) = 0;
    /// @}
};

// --- A page as data --------------------------------------------------------------------

/// What a field of a page is: a caption, or an editing field of one of the three kinds.
enum class FieldKind { label, text_box, combo_box, check_box };

/// A field's place in twips within the page's client area.
struct TICKWELL_API FieldBox {
    /// The top left corner from the client area's, and the size.
    /// @{
    int left, top, width, height;
    /// @}
};

/// One field of a page.
struct TICKWELL_API FieldInfo {
    std::string_view name;     ///< "txtAlertTime", "DisplayLi", "lblHours"
    FieldKind kind;            ///< what the field is
    std::string_view caption;  ///< labels and the check box
    /// Combo boxes: one name per item; item i reads as i in decimal digits, " - " and its
    /// name ("0 - swAnalog"), so an item's list index is its value.
    std::span<const std::string_view> item_names;
    FieldBox box;     ///< where the field lies
    int focus_order;  ///< 1, 2, ... through the editing fields; 0 for labels
};

/// A field of each kind, as the pages' tables write them.
/// @{
constexpr FieldInfo label_field(std::string_view name, std::string_view caption, FieldBox box) {
    return {name, FieldKind::label, caption, {}, box, 0};
}
constexpr FieldInfo text_field(std::string_view name, FieldBox box, int focus_order) {
    return {name, FieldKind::text_box, {}, {}, box, focus_order};
}
constexpr FieldInfo combo_field(std::string_view name, std::span<const std::string_view> items,
                                FieldBox box, int focus_order) {
    return {name, FieldKind::combo_box, {}, items, box, focus_order};
}
// The items of a combo box that shows an enum property are its enum's members, listed as
// TICKWELL_DISPLAY_VALUES(TICKWELL_ITEM_NAME) in the order of their values from 0.
#define TICKWELL_ITEM_NAME(cpp_name, library_name, qt_name, value) #library_name,
constexpr FieldInfo check_field(std::string_view name, std::string_view caption, FieldBox box,
                                int focus_order) {
    return {name, FieldKind::check_box, caption, {}, box, focus_order};
}
/// @}

/// A field shown from a property, or written to one.
struct TICKWELL_API Binding {
    std::string_view field;  ///< the field's name
    PropertyId id;           ///< the property
    /// The property's name, as the control's get and put take it.
    std::string_view property() const { return property_name(id); }
};

struct PageInfo;
/// A call of the frame into a page: PageInfo::selection_changed, PageInfo::apply_changes.
using PageCall = void (*)(const PageInfo& page, PageFrame& frame, PageFields& fields);

/// One of the control's own property pages. A page holds no state between calls: its fields
/// are the only copy of what is being edited, and each call works on the frame's first
/// selected control only.
struct TICKWELL_API PageInfo {
    std::string_view name;              ///< "General", as the control names its pages
    std::string_view caption;           ///< the tab's caption
    int client_width = 5535;            ///< twips; every page of the control has this size
    int client_height = 4125;           ///< twips, as client_width
    std::span<const FieldInfo> fields;  ///< top to bottom
    /// The bindings a selection change shows, and an apply writes, in that order.
    /// @{
    std::span<const Binding> read_order;
    std::span<const Binding> apply_order;
    /// @}
    /// The frame's calls into the page: when the selection changes (fill the fields) and when
    /// the user applies (write them).
    /// @{
    PageCall selection_changed;
    PageCall apply_changes;
    /// @}

    /// The field of that name; nullptr for a name the page does not have.
    const FieldInfo* find(std::string_view field) const;
    /// The field's text of combo item `index`.
    static std::string item_text(const FieldInfo& combo, std::size_t index);
};

/// The change handler of every editing field (a text box's text, a combo box's edit text,
/// the check box's click): marks the page changed. It does not tell a user's edit from the
/// page's own filling of its fields.
TICKWELL_API void field_changed(PageFrame& frame);

// --- The shared pattern ----------------------------------------------------------------

/// Shows `property` of `control` in its field: a text box gets the property's text form, the
/// check box is checked when the property is true, a combo box is emptied, filled with its
/// items and set to the property's value.
TICKWELL_API void read_field(const PageInfo& page, PageFields& fields, VexClock& control,
                             Binding binding);
/// Writes the field into `property` of `control` through its put: a text box as a string
/// (the put converts it), the check box as true when checked, a combo box's list index as a
/// 16-bit integer. A refusal is the put's message box; a conversion error propagates.
TICKWELL_API void write_field(const PageInfo& page, PageFields& fields, VexClock& control,
                              Binding binding);

/// The usual calls: every binding of read_order, or of apply_order, in turn, on the first
/// selected control. Errors are not trapped: the first ends the call and reaches the frame.
/// @{
TICKWELL_API void read_in_order(const PageInfo& page, PageFrame& frame, PageFields& fields);
TICKWELL_API void write_in_order(const PageInfo& page, PageFrame& frame, PageFields& fields);
/// @}

}  // namespace tickwell
