// SPDX-License-Identifier: MIT
// A form file's text, as a host opens it: refused as a whole with a reason, or every control
// created from its bag and placed, its face rendered to SVG, the form saved and opened again.
// What a form saves it opens again as the same form.
#include <nlohmann/json.hpp>
#include <sstream>

#include <tickwell/files/form_file.hpp>
#include <tickwell/headless/headless_container.hpp>
#include <tickwell/headless/svg_renderer.hpp>
#include <tickwell/platform/paint_geometry.hpp>

namespace {

using namespace tickwell;
using namespace tickwell::headless;

// The same controls in the same places. Values are compared as the file holds them (a Long
// of 0 reads back as an Integer), through the saved text.
bool same_places(const FormFile& a, const FormFile& b) {
    if (a.controls.size() != b.controls.size()) return false;
    for (std::size_t i = 0; i < a.controls.size(); ++i) {
        const FormControl &x = a.controls[i], &y = b.controls[i];
        if (x.name != y.name || x.left != y.left || x.top != y.top || x.width != y.width ||
            x.height != y.height || x.properties.values().size() != y.properties.values().size())
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FormFile form;
    try {
        form = parse_form(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    } catch (const FileError&) {
        return 0;  // refused before anything is applied
    }
    Clock::reset_state();
    std::ostringstream out;
    Container container(out);
    const TwipsPerPixel tpp{15, 15};
    FormFile saved;
    for (const FormControl& c : form.controls) {
        JsonPropertyBag bag = c.properties;
        try {
            container.create_with(
                c.name, [&bag](VexClock& v) { v.ReadProperties(bag); }, c.width, c.height);
        } catch (const Error&) {
            // The read ended part-way; what it applied stays, as a host shows it.
        }
        VexClock* control = container.find(c.name);
        if (!control) __builtin_trap();
        // The SVG is text whatever the size; a raster renderer refuses large faces instead.
        (void)render_svg(control->scene(), surface_size(control->width(), control->height(), tpp),
                         tpp);
        FormControl kept{c.name, c.left, c.top, control->width(), control->height(), {}};
        try {
            control->WriteProperties(kept.properties);
        } catch (const Error&) {
            return 0;  // a value the file format cannot hold is refused by the save
        }
        saved.controls.push_back(std::move(kept));
    }
    std::string text;
    try {
        text = form_text(saved);
    } catch (const Error&) {
        return 0;
    }
    // What was saved opens again, and saves again to the same document (a file's keys are
    // read in sorted order, so the text may list them otherwise).
    const FormFile reopened = parse_form(text, "saved.json");
    if (!same_places(saved, reopened) ||
        nlohmann::json::parse(form_text(reopened)) != nlohmann::json::parse(text))
        __builtin_trap();
    return 0;
}
