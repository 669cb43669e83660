// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QList>
#include <memory>
#include <tickwell/platform/api.hpp>

namespace tickwell::qt {

class VexClockWidget;

/// The design-time property pages of the selected stopwatches as tabs: General, Appearance,
/// Behaviour, a colour page (the control's colour properties) and a picture page (MouseIcon),
/// with OK, Cancel and Apply. The pages show and edit the first selected control.
///
/// Every page is filled from the first control when the dialog opens; that filling is no
/// edit, so Apply starts disabled and is enabled while any page is changed. Apply (and OK,
/// which then closes the dialog) applies each changed page in tab order. A page whose own
/// check refuses a field keeps the focus in that field and its apply pending; an error that
/// ends an apply is shown in a message box naming the property, and that page's apply stays
/// pending too.
class TICKWELL_API PropertyPagesDialog : public QDialog {
    Q_OBJECT

  public:
    /// `selection` holds at least one widget.
    explicit PropertyPagesDialog(QList<VexClockWidget*> selection, QWidget* parent = nullptr);
    ~PropertyPagesDialog() override;

    /// Applies every changed page, as the Apply button does; false when an apply stayed
    /// pending (the dialog then shows that page).
    bool apply();

  private:
    class Private;
    std::unique_ptr<Private> d_;
};

}  // namespace tickwell::qt
