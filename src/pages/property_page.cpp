// SPDX-License-Identifier: MIT
#include <tickwell/pages/property_page.hpp>

#include <cassert>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/platform/value.hpp>

namespace tickwell {
namespace {

const FieldInfo& field_of(const PageInfo& page, std::string_view name) {
    const FieldInfo* field = page.find(name);
    assert(field && "a binding names a field of its own page");
    return *field;
}

}  // namespace

const FieldInfo* PageInfo::find(std::string_view field) const {
    for (const FieldInfo& f : fields)
        if (f.name == field) return &f;
    return nullptr;
}

std::string PageInfo::item_text(const FieldInfo& combo, std::size_t index) {
    return std::to_string(index) + " - " + std::string(combo.item_names[index]);
}

void field_changed(PageFrame& frame) {
    frame.set_changed(true);
}

void read_field(const PageInfo& page, PageFields& fields, VexClock& control, Binding binding) {
    const FieldInfo& field = field_of(page, binding.field);
    const Value value = control.get(binding.property());
    try {
        switch (field.kind) {
            case FieldKind::text_box:
                fields.text_box(field.name).set_text(to_text(value));
                break;
            case FieldKind::check_box:
                fields.check_box(field.name)
                    .set_value(to_boolean(value) ? CheckBoxField::checked
                                                 : CheckBoxField::unchecked);
                break;
            case FieldKind::combo_box: {
                ComboBoxField& combo = fields.combo_box(field.name);
                combo.clear();
                for (std::size_t i = 0; i < field.item_names.size(); ++i)
                    combo.add_item(PageInfo::item_text(field, i));
                // A value with no item of its own (a ClockMode of 7, which its put accepts)
                // is refused by the combo box, and that error ends the call.
                combo.set_list_index(to_integer(value));
                break;
            }
            case FieldKind::label:
                assert(false && "labels show no property");
                break;
        }
    } catch (const Error& e) {
        throw e.attributed_to(binding.property());
    }
}

void write_field(const PageInfo& page, PageFields& fields, VexClock& control, Binding binding) {
    const FieldInfo& field = field_of(page, binding.field);
    switch (field.kind) {
        case FieldKind::text_box:
            control.put(binding.property(), Value(fields.text_box(field.name).text()));
            break;
        case FieldKind::check_box:
            control.put(binding.property(), Value(Boolean{fields.check_box(field.name).value() ==
                                                          CheckBoxField::checked}));
            break;
        case FieldKind::combo_box:
            control.put(
                binding.property(),
                Value(static_cast<std::int16_t>(fields.combo_box(field.name).list_index())));
            break;
        case FieldKind::label:
            assert(false && "labels write no property");
            break;
    }
}

void read_in_order(const PageInfo& page, PageFrame& frame, PageFields& fields) {
    VexClock& control = frame.selected_control(0);
    for (const Binding& b : page.read_order)
        read_field(page, fields, control, b);
}

void write_in_order(const PageInfo& page, PageFrame& frame, PageFields& fields) {
    VexClock& control = frame.selected_control(0);
    for (const Binding& b : page.apply_order)
        write_field(page, fields, control, b);
}

}  // namespace tickwell
