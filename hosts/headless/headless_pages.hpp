// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/headless/headless_container.hpp>
#include <tickwell/pages/property_page.hpp>

namespace tickwell::headless {

// A property page open in the headless designer: the frame around it (the selected
// controls by name, the changed flag) and the page's fields, built from the page's
// description. Every change of a field's content runs the page's change handler, whether
// a user or the page itself made it; setting the content it already has changes nothing.
class TICKWELL_API HeadlessPage final : public PageFrame, public PageFields {
  public:
    // `selected` names controls of `container`, the first at index 0; at least one.
    HeadlessPage(Container& container, const PageInfo& page, std::vector<std::string> selected);
    ~HeadlessPage() override;
    HeadlessPage(const HeadlessPage&) = delete;
    HeadlessPage& operator=(const HeadlessPage&) = delete;

    const PageInfo& info() const { return page_; }
    const std::vector<std::string>& selected_names() const { return selected_; }
    // The field holding the keyboard focus; empty when none does.
    const std::string& focus() const { return focus_; }

    // --- The frame's calls; errors of the page reach the caller ---
    void selection_changed();
    // Clears the changed flag, then lets the page apply (a failed check of its own sets the
    // flag again). An error that ends the apply leaves the apply pending.
    void apply();

    // --- A user's edits, each running the field's change handler. They throw
    // std::invalid_argument for an unknown field, a field of another kind or a value the
    // field cannot hold. ---
    void type_text(std::string_view field, const std::string& text);
    void choose_item(std::string_view field, int list_index);  // -1: no item
    void click_check(std::string_view field, int value);       // 0 or 1

    // The fields top to bottom, one line each as the container prints them.
    std::vector<std::string> describe() const;

    // --- PageFrame ---
    std::size_t selected_count() const override { return selected_.size(); }
    VexClock& selected_control(std::size_t index) override;
    bool changed() const override { return changed_; }
    void set_changed(bool changed) override { changed_ = changed; }

    // --- PageFields ---
    TextBoxField& text_box(std::string_view name) override;
    ComboBoxField& combo_box(std::string_view name) override;
    CheckBoxField& check_box(std::string_view name) override;

  private:
    class Field;
    Field& field(std::string_view name, FieldKind kind, bool for_user);

    Container& container_;
    const PageInfo& page_;
    std::vector<std::string> selected_;
    std::vector<std::unique_ptr<Field>> fields_;  // in the page's order
    bool changed_ = false;
    std::string focus_;
};

}  // namespace tickwell::headless
