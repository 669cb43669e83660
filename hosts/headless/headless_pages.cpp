// SPDX-License-Identifier: MIT
#include <tickwell/headless/headless_pages.hpp>

#include <stdexcept>

#include <tickwell/platform/error.hpp>

namespace tickwell::headless {

// One field of the open page. A label only shows its caption; the other kinds hold their
// content here and run the page's change handler whenever the content changes.
class HeadlessPage::Field final : public TextBoxField, public ComboBoxField, public CheckBoxField {
  public:
    Field(HeadlessPage& page, const FieldInfo& info) : page_(page), info_(info) {}

    const FieldInfo& info() const { return info_; }

    // Text box
    std::string text() const override { return text_; }
    void set_text(const std::string& text) override { set_edit_text(text); }
    void set_focus() override { page_.focus_ = std::string(info_.name); }

    // Combo box: the edit text follows the chosen item.
    void clear() override {
        items_.clear();
        list_index_ = -1;
        set_edit_text({});
    }
    void add_item(const std::string& text) override { items_.push_back(text); }
    int list_index() const override { return list_index_; }
    void set_list_index(int index) override {
        if (index < -1 || index >= static_cast<int>(items_.size()))
            throw Error(ErrorKind::invalid_value,
                        std::string(info_.name) + " has no item " + std::to_string(index));
        list_index_ = index;
        set_edit_text(index < 0 ? std::string() : items_[static_cast<std::size_t>(index)]);
    }
    const std::vector<std::string>& items() const { return items_; }

    // Check box: a change of value is a click.
    int value() const override { return value_; }
    void set_value(int value) override {
        if (value < unchecked || value > 2)
            throw Error(
                ErrorKind::invalid_value,
                std::string(info_.name) + " cannot take the value " + std::to_string(value));
        if (value == value_) return;
        value_ = value;
        field_changed(page_);
    }

  private:
    void set_edit_text(const std::string& text) {
        if (text == text_) return;
        text_ = text;
        field_changed(page_);
    }

    HeadlessPage& page_;
    const FieldInfo& info_;
    std::string text_;
    std::vector<std::string> items_;
    int list_index_ = -1;
    int value_ = unchecked;
};

HeadlessPage::HeadlessPage(Container& container, const PageInfo& page,
                           std::vector<std::string> selected)
    : container_(container), page_(page), selected_(std::move(selected)) {
    if (selected_.empty()) throw std::invalid_argument("a page needs a selected control");
    for (const FieldInfo& f : page_.fields)
        fields_.push_back(std::make_unique<Field>(*this, f));
}

HeadlessPage::~HeadlessPage() = default;

VexClock& HeadlessPage::selected_control(std::size_t index) {
    VexClock* control = index < selected_.size() ? container_.find(selected_[index]) : nullptr;
    if (!control)
        throw std::logic_error("the page's selected control " + std::to_string(index) + " is gone");
    return *control;
}

void HeadlessPage::selection_changed() {
    page_.selection_changed(page_, *this, *this);
}

void HeadlessPage::apply() {
    changed_ = false;
    try {
        page_.apply_changes(page_, *this, *this);
    } catch (...) {
        // The fields after the failing one are still to be written: keep the apply pending.
        changed_ = true;
        throw;
    }
}

HeadlessPage::Field& HeadlessPage::field(std::string_view name, FieldKind kind, bool for_user) {
    for (const auto& f : fields_) {
        if (f->info().name != name) continue;
        if (f->info().kind != kind) break;
        return *f;
    }
    const char* kinds[] = {"label", "text box", "combo box", "check box"};
    const std::string what = std::string(page_.name) + " page has no " +
                             kinds[static_cast<int>(kind)] + " \"" + std::string(name) + "\"";
    if (for_user) throw std::invalid_argument(what);
    throw std::logic_error(what);  // the page's own description names its fields
}

TextBoxField& HeadlessPage::text_box(std::string_view name) {
    return field(name, FieldKind::text_box, false);
}
ComboBoxField& HeadlessPage::combo_box(std::string_view name) {
    return field(name, FieldKind::combo_box, false);
}
CheckBoxField& HeadlessPage::check_box(std::string_view name) {
    return field(name, FieldKind::check_box, false);
}

void HeadlessPage::type_text(std::string_view name, const std::string& text) {
    field(name, FieldKind::text_box, true).set_text(text);
    field_changed(*this);
}

void HeadlessPage::choose_item(std::string_view name, int list_index) {
    Field& f = field(name, FieldKind::combo_box, true);
    if (list_index < -1 || list_index >= static_cast<int>(f.items().size()))
        throw std::invalid_argument(std::string(name) + " has no item " +
                                    std::to_string(list_index));
    f.set_list_index(list_index);
    field_changed(*this);
}

void HeadlessPage::click_check(std::string_view name, int value) {
    Field& f = field(name, FieldKind::check_box, true);
    if (value != CheckBoxField::unchecked && value != CheckBoxField::checked)
        throw std::invalid_argument(std::string(name) + " takes 0 or 1");
    f.set_value(value);
    field_changed(*this);
}

std::vector<std::string> HeadlessPage::describe() const {
    std::vector<std::string> lines;
    for (const auto& f : fields_) {
        std::string line(f->info().name);
        switch (f->info().kind) {
            case FieldKind::label:
                line += " label " + quote(f->info().caption);
                break;
            case FieldKind::text_box:
                line += " = " + quote(f->text());
                break;
            case FieldKind::combo_box: {
                line += " = " + std::to_string(f->list_index()) + " [";
                const auto& items = f->items();
                for (std::size_t i = 0; i < items.size(); ++i)
                    line += (i ? ", " : "") + quote(items[i]);
                line += "]";
                break;
            }
            case FieldKind::check_box:
                line += " = " + std::to_string(f->value());
                break;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tickwell::headless
