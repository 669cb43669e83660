// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <tickwell/platform/api.hpp>

#include <tickwell/qt/page_tab.hpp>

namespace tickwell::qt {

// One of the control's own pages (General, Appearance, Behaviour) built from its
// description: labels, line edits, drop-down lists and the check box placed in twips, in the
// page's focus order, each with its field's name as object name. Every change of a field's
// content, the page's own filling included, runs the page's change handler.
class TICKWELL_API ControlPage final : public PageTab, public PageFields {
    Q_OBJECT

  public:
    ControlPage(const PageInfo& page, QList<VexClockWidget*> selection, QWidget* parent);
    ~ControlPage() override;

    const PageInfo& info() const { return page_; }

    QString caption() const override;
    void selection_changed() override;
    void apply_changes() override;

    // --- PageFields ---
    TextBoxField& text_box(std::string_view name) override;
    ComboBoxField& combo_box(std::string_view name) override;
    CheckBoxField& check_box(std::string_view name) override;

  private:
    class TextBox;
    class ComboBox;
    class CheckBox;

    const PageInfo& page_;
    std::map<std::string_view, std::unique_ptr<TextBox>, std::less<>> text_boxes_;
    std::map<std::string_view, std::unique_ptr<ComboBox>, std::less<>> combo_boxes_;
    std::map<std::string_view, std::unique_ptr<CheckBox>, std::less<>> check_boxes_;
};

}  // namespace tickwell::qt
