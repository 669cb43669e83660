// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <tickwell/files/form_file.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::demo {

class FormCanvas;

// The form on a canvas as a form file and back. Places and sizes are kept in twips, as the
// controls count them; each control's settings pass through its own write and read paths.

// The screen's twips per pixel as `control` sees it.
TwipsPerPixel twips_per_pixel(const qt::VexClockWidget& control);

// Every control of the form in creation order: its name, its place (the widget's position in
// twips), its size (the control's own, in twips) and the bag its WriteProperties fills.
// Throws headless::FileError naming the control when a setting cannot be kept in the file's
// format.
headless::FormFile capture_form(const FormCanvas& canvas);

// Replaces the canvas's controls with the form's, and takes its shared-state setting. The
// process-wide stopwatch state starts afresh first, so that a form opens the same whatever
// was open before it. Each control is created from its bag and placed before the next is
// read: in a form of shared state, a control lays its face out from the shared record as
// its own read leaves it. A read that fails throws headless::FileError
// naming `origin`, the control and the key; the controls read before it stay on the form.
void load_form(FormCanvas& canvas, const headless::FormFile& form, const std::string& origin);

// Reads every control of the form as load_form does, on controls of no window, and then puts
// the process-wide state back as it was: throws headless::FileError naming `origin`, the
// control and the key for the first read that fails, while the open form is untouched.
void check_form(const headless::FormFile& form, const std::string& origin);

// The form a first start shows: VexClock1 with the analog face and VexClock2 with the
// digital face, both newly placed controls, VexClock1 selected.
void build_default_form(FormCanvas& canvas);

}  // namespace tickwell::demo
