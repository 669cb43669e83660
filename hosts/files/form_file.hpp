// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/files/json_property_bag.hpp>
#include <tickwell/model/new_control.hpp>

namespace tickwell::headless {

/// One control of a form: its name, its place and size in twips, and its property bag.
struct TICKWELL_API FormControl {
    std::string name;  ///< letters, digits and _; unique in its form
    /// The place of the control's top left corner and its size, in twips; a size is never
    /// negative.
    /// @{
    float left = 0;
    float top = 0;
    float width = kNewControlWidth;
    float height = kNewControlHeight;
    /// @}
    JsonPropertyBag properties;  ///< the control's settings, as its single-control file's
};

/// A form of several controls, as a host saves and opens it:
///
/// \verbatim
///   { "form": 1,
///     "sharedState": false,
///     "controls": [ { "name": "VexClock1", "left": 120, "top": 120, "width": 3240,
///                     "height": 2070, "properties": { ... } } ] }
/// \endverbatim
///
/// "properties" has the format of a single-control file's (see JsonPropertyBag). "form" is
/// the format's version, 1. "left" and "top" default to 0, "width" and "height" to a new
/// control's size (kNewControlWidth x kNewControlHeight). "sharedState" true makes every
/// control of the form use the process-wide state record; absent or false, each control
/// keeps a record of its own. The format, with its JSON Schema: \ref form_file_format.
struct TICKWELL_API FormFile {
    bool shared_state = false;          ///< "sharedState"
    std::vector<FormControl> controls;  ///< in creation order

    /// The control of that name; nullptr when the form has none.
    const FormControl* find(std::string_view name) const;
};

/// parse refuses text that is not JSON or not a form of this version, a control without a
/// valid and unique name, a place that is no number, a negative size or a bad property
/// value, with FileError naming `origin` (and the control) and what is wrong.
TICKWELL_API FormFile parse_form(std::string_view text, const std::string& origin);
/// Throws FileError when two controls share a name or one has no valid name, and Error for a
/// value the format cannot hold (see JsonPropertyBag::write).
TICKWELL_API std::string form_text(const FormFile& form);

/// Reads and parses the file; FileError names the file and what is wrong.
TICKWELL_API FormFile read_form_file(const std::string& path);
/// Replaces the file whole (see replace_file), and refuses a form that would not read back
/// (more values than a form file may hold); FileError names the file.
TICKWELL_API void write_form_file(const std::string& path, const FormFile& form);

}  // namespace tickwell::headless
