// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/form.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell::qt {

// A dialog built from a form's description: its caption, a fixed client area and every
// item placed in twips at the screen's twips per pixel, with the item's font (the family,
// points and weight it names; the dialog's own font where it names none). A label whose
// caption needs more room in the font in use grows to the right within the client area,
// then wraps and grows downward, so that no caption is cut off. A button that closes the form
// accepts the dialog and is its default button. Every widget carries its item's name as its object
// name.
TICKWELL_API std::unique_ptr<QDialog> build_form_dialog(const Form& form, TwipsPerPixel tpp,
                                                        QWidget* parent = nullptr);

}  // namespace tickwell::qt
