// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <tickwell/platform/api.hpp>
#include <vector>

namespace tickwell {

/// The font of a form's item.
struct TICKWELL_API FormFont {
    std::string name;   ///< the family, as the platform names it ("MS Sans Serif")
    double points = 8;  ///< the size in points
    bool bold = false;  ///< whether the weight is bold
};

/// What a form's item is: a text, or a button.
enum class FormItemKind { label, command_button };

/// One element of a form; geometry in twips within the form's client area.
struct TICKWELL_API FormItem {
    std::string name;                         ///< the item's name ("cmdOK")
    FormItemKind kind = FormItemKind::label;  ///< a label or a button
    std::string caption;                      ///< the text shown
    /// The box: its top left corner within the client area, and its size.
    /// @{
    int left = 0, top = 0, width = 0, height = 0;
    /// @}
    std::optional<FormFont> font;  ///< the platform's default font when absent
    bool closes_form = false;      ///< a click unloads the form
};

/// A dialog form of the control, described as data; the platform builds and shows it.
struct TICKWELL_API Form {
    std::string name;     ///< the form's name ("frmAbout")
    std::string caption;  ///< the title bar's text
    /// The client area's size in twips.
    /// @{
    int client_width = 0, client_height = 0;
    /// @}
    std::vector<FormItem> items;  ///< in the form's order
};

}  // namespace tickwell
