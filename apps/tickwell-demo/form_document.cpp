// SPDX-License-Identifier: MIT
#include "form_document.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "form_canvas.hpp"

namespace tickwell::demo {

namespace {

// A file may place a control anywhere a float reaches; the form keeps within what a widget
// can be.
constexpr double kFarthestPixel = 100000;

int to_pixels(float twips, double twips_per_pixel) {
    const double pixels = std::clamp(twips / twips_per_pixel, -kFarthestPixel, kFarthestPixel);
    return static_cast<int>(std::lround(pixels));
}

}  // namespace

TwipsPerPixel twips_per_pixel(const qt::VexClockWidget& control) {
    return control.twipsPerPixel();
}

headless::FormFile capture_form(const FormCanvas& canvas) {
    headless::FormFile form;
    form.shared_state = canvas.sharedState();
    for (const qt::VexClockWidget* w : canvas.controls()) {
        const TwipsPerPixel tpp = twips_per_pixel(*w);
        headless::FormControl c;
        c.name = w->objectName().toStdString();
        c.left = static_cast<float>(w->x() * tpp.x);
        c.top = static_cast<float>(w->y() * tpp.y);
        c.width = w->control().width();
        c.height = w->control().height();
        try {
            w->control().WriteProperties(c.properties);
        } catch (const Error& e) {
            throw headless::FileError(c.name + ": " + e.what());
        }
        form.controls.push_back(std::move(c));
    }
    return form;
}

void load_form(FormCanvas& canvas, const headless::FormFile& form, const std::string& origin) {
    canvas.clear();
    Clock::reset_state();
    canvas.setSharedState(form.shared_state);
    for (const headless::FormControl& c : form.controls) {
        headless::JsonPropertyBag bag = c.properties;  // the read path takes a bag it may change
        qt::VexClockWidget* w = nullptr;
        try {
            w = new qt::VexClockWidget(bag, &canvas, canvas.stateScope());
        } catch (const Error& e) {
            throw headless::FileError(origin + ": " + c.name + ": " + e.what());
        }
        const TwipsPerPixel tpp = twips_per_pixel(*w);
        const QRect geometry(to_pixels(c.left, tpp.x), to_pixels(c.top, tpp.y),
                             std::max(1, to_pixels(c.width, tpp.x)),
                             std::max(1, to_pixels(c.height, tpp.y)));
        canvas.adopt(w, QString::fromStdString(c.name), geometry);
    }
    if (!canvas.controls().isEmpty()) canvas.setSelection({canvas.controls().front()});
}

void check_form(const headless::FormFile& form, const std::string& origin) {
    const ClockState kept = Clock::state();
    Clock::reset_state();
    // Each trial control stays until the last is read: a read sees the shared state as the
    // reads before it leave it, as it does when the form is opened.
    std::vector<std::unique_ptr<qt::VexClockWidget>> trial;
    try {
        for (const headless::FormControl& c : form.controls) {
            headless::JsonPropertyBag bag = c.properties;
            try {
                trial.push_back(std::make_unique<qt::VexClockWidget>(bag));
            } catch (const Error& e) {
                throw headless::FileError(origin + ": " + c.name + ": " + e.what(), e.member());
            }
        }
    } catch (...) {
        trial.clear();
        Clock::state() = kept;
        throw;
    }
    trial.clear();
    Clock::state() = kept;
}

void build_default_form(FormCanvas& canvas) {
    canvas.clear();
    Clock::reset_state();
    canvas.setSharedState(false);
    qt::VexClockWidget* analog = canvas.addNewControl();
    qt::VexClockWidget* digital = canvas.addNewControl();
    digital->control().setDisplay(Display::digital);
    canvas.setSelection({analog});
}

}  // namespace tickwell::demo
