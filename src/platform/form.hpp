// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <tickwell/platform/api.hpp>
#include <vector>

namespace tickwell {

struct TICKWELL_API FormFont {
    std::string name;
    double points = 8;
    bool bold = false;
};

enum class FormItemKind { label, command_button };

/// One element of a form; geometry in twips within the form's client area.
struct TICKWELL_API FormItem {
    std::string name;
    FormItemKind kind = FormItemKind::label;
    std::string caption;
    int left = 0, top = 0, width = 0, height = 0;
    std::optional<FormFont> font;  ///< the platform's default font when absent
    bool closes_form = false;      ///< a click unloads the form
};

/// A dialog form of the control, described as data; the platform builds and shows it.
struct TICKWELL_API Form {
    std::string name;
    std::string caption;
    int client_width = 0, client_height = 0;  ///< twips
    std::vector<FormItem> items;
};

}  // namespace tickwell
