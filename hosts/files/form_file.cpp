// SPDX-License-Identifier: MIT
#include <tickwell/files/form_file.hpp>

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include <tickwell/control/type_library.hpp>
#include <tickwell/files/in_quotes.hpp>

namespace tickwell::headless {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr int kFormVersion = 1;
// The largest place or size taken, in twips: far beyond any screen, well inside a float.
constexpr double kLargestTwips = 1e7;

bool valid_name(std::string_view name) {
    return !name.empty() && name.find_first_not_of(
                                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                "0123456789_") == std::string_view::npos;
}

// Checks the names and places of a form's controls; returns what is wrong, or "".
std::string check_controls(const std::vector<FormControl>& controls) {
    std::set<std::string_view> names;
    for (const FormControl& c : controls) {
        if (!valid_name(c.name))
            return "the control name " + in_quotes(c.name) + " is not letters, digits and _";
        if (!names.insert(c.name).second) return "two controls are named " + in_quotes(c.name);
        for (const float v : {c.left, c.top, c.width, c.height})
            if (!std::isfinite(v) || std::fabs(v) > kLargestTwips)
                return "control " + in_quotes(c.name) + " has a place or size out of range";
        if (c.width < 0 || c.height < 0)
            return "control " + in_quotes(c.name) + " has a negative size";
    }
    return {};
}

float twips(const json& control, const char* key, float default_value) {
    const auto it = control.find(key);
    if (it == control.end()) return default_value;
    if (!it->is_number()) throw FileError(std::string("its \"") + key + "\" is not a number", key);
    // Checked as a double: a float cannot hold every number a file may give.
    const double v = it->get<double>();
    if (!(std::fabs(v) <= kLargestTwips))
        throw FileError(std::string("its \"") + key + "\" is out of range (" + it->dump() +
                            ", beyond " + std::to_string(static_cast<int>(kLargestTwips)) +
                            " twips)",
                        key);
    return static_cast<float>(v);
}

FormControl control_from_json(const json& j) {
    if (!j.is_object()) throw FileError("it is not an object");
    FormControl c;
    const auto name = j.find("name");
    if (name == j.end() || !name->is_string()) throw FileError("it has no \"name\"");
    // A form holds stopwatches only: a control of another class is refused, not dropped.
    if (const auto cls = j.find("class");
        cls != j.end() && (!cls->is_string() || *cls != TypeLibrary::kProgId))
        throw FileError("its \"class\" is " +
                            cls->dump(-1, ' ', false, json::error_handler_t::replace) + ", not \"" +
                            std::string(TypeLibrary::kProgId) + "\"",
                        "class");
    c.name = name->get<std::string>();
    c.left = twips(j, "left", c.left);
    c.top = twips(j, "top", c.top);
    c.width = twips(j, "width", c.width);
    c.height = twips(j, "height", c.height);
    const auto properties = j.find("properties");
    if (properties == j.end()) throw FileError("it has no \"properties\"");
    c.properties = bag_from_json(*properties);
    return c;
}

}  // namespace

const FormControl* FormFile::find(std::string_view name) const {
    for (const FormControl& c : controls)
        if (c.name == name) return &c;
    return nullptr;
}

FormFile parse_form(std::string_view text, const std::string& origin) try {
    const json document = parse_json_text(text, origin);
    const std::string not_a_form = in_quotes(origin) + " is not a form: ";
    if (!document.is_object()) throw FileError(not_a_form + "it holds no JSON object");
    const auto version = document.find("form");
    if (version == document.end()) throw FileError(not_a_form + "it has no \"form\" version");
    if (!version->is_number_integer())
        throw FileError(
            not_a_form + "its \"form\" version is " + version->dump() + ", not a whole number",
            "form");
    if (*version != kFormVersion)
        throw FileError(in_quotes(origin) + " is a form of version " + version->dump() +
                        ", which this program cannot read (version 1)");
    const auto controls = document.find("controls");
    if (controls == document.end() || !controls->is_array())
        throw FileError(not_a_form + "it has no \"controls\" list");

    FormFile form;
    if (const auto shared = document.find("sharedState"); shared != document.end()) {
        if (!shared->is_boolean())
            throw FileError(in_quotes(origin) + ": \"sharedState\" must be true or false");
        form.shared_state = shared->get<bool>();
    }
    for (std::size_t i = 0; i < controls->size(); ++i) {
        try {
            form.controls.push_back(control_from_json((*controls)[i]));
        } catch (const FileError& e) {
            const auto& j = (*controls)[i];
            const std::string which = j.is_object() && j.contains("name") && j["name"].is_string()
                                          ? "control " + in_quotes(j["name"].get<std::string>())
                                          : "control " + std::to_string(i + 1);
            throw FileError(in_quotes(origin) + ": " + which + ": " + e.what(), e.member());
        }
    }
    if (const std::string wrong = check_controls(form.controls); !wrong.empty())
        throw FileError(in_quotes(origin) + ": " + wrong);
    return form;
} catch (...) {
    rethrow_as_file_error(origin);
}

std::string form_text(const FormFile& form) {
    if (const std::string wrong = check_controls(form.controls); !wrong.empty())
        throw FileError(wrong);
    ordered_json controls = ordered_json::array();
    for (const FormControl& c : form.controls) {
        ordered_json j = ordered_json::object();
        j["name"] = c.name;
        for (const auto& [key, v] : {std::pair{"left", c.left}, std::pair{"top", c.top},
                                     std::pair{"width", c.width}, std::pair{"height", c.height}}) {
            // Whole twips are written as integers (120, not 120.0).
            if (v == std::trunc(v))
                j[key] = static_cast<std::int64_t>(v);
            else
                j[key] = static_cast<double>(v);
        }
        j["properties"] = bag_to_json(c.properties);
        controls.push_back(std::move(j));
    }
    ordered_json document = ordered_json::object();
    document["form"] = kFormVersion;
    if (form.shared_state) document["sharedState"] = true;
    document["controls"] = std::move(controls);
    return document.dump(2) + "\n";
}

FormFile read_form_file(const std::string& path) {
    return parse_form(read_text_file(path), path);
}

void write_form_file(const std::string& path, const FormFile& form) {
    std::string text;
    try {
        text = form_text(form);
    } catch (const FileError& e) {
        throw FileError("cannot save " + in_quotes(path) + ": " + e.what());
    }
    refuse_unless_it_reads_back(path, text, parse_form);
    replace_file(path, text, "save", kLargestSettingsFile);
}

}  // namespace tickwell::headless
