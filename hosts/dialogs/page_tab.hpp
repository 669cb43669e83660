// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <tickwell/platform/api.hpp>

#include <tickwell/pages/property_page.hpp>
#include <tickwell/platform/twips_per_pixel.hpp>

namespace tickwell::qt {

class VexClockWidget;

// One tab of the property pages dialog: a page and the frame around it (the selected
// controls, the page's changed flag). The dialog makes the frame's two calls; errors of the
// page reach the dialog.
class TICKWELL_API PageTab : public QWidget, public PageFrame {
    Q_OBJECT

  public:
    // `selection` holds at least one widget; the page shows and edits the first.
    PageTab(QList<VexClockWidget*> selection, QWidget* parent);

    virtual QString caption() const = 0;
    // The frame's calls: fill the fields from the first selected control, or write them to it.
    virtual void selection_changed() = 0;
    virtual void apply_changes() = 0;

    // Whether the page moved the keyboard focus into one of its fields since the last
    // clear_focus_request(): the sign that its own check ended an apply.
    bool focus_requested() const { return focus_requested_; }
    void clear_focus_request() { focus_requested_ = false; }

    // The widget of selected control `index`; nullptr once it has been deleted.
    VexClockWidget* selected_widget(std::size_t index) const;

    // --- PageFrame ---
    std::size_t selected_count() const override;
    // Throws Error(invalid_value) for a control that has been deleted meanwhile.
    VexClock& selected_control(std::size_t index) override;
    bool changed() const override { return changed_; }
    void set_changed(bool changed) override;

  signals:
    void changedChanged(bool changed);
    // The page wants to be the one shown (to put the focus into a field of its own).
    void showRequested();

  protected:
    // Shows the page and puts the keyboard focus into `field`.
    void focus_field(QWidget* field);
    // The twips per pixel that the page lays its fields out with: the first control's.
    TwipsPerPixel twips_per_pixel() const;
    int x_pixels(int twips) const;
    int y_pixels(int twips) const;
    // The page's messages (a picture file that cannot be read), through the message-box
    // service.
    void show_message(const QString& prompt);

  private:
    QList<QPointer<VexClockWidget>> selection_;
    bool changed_ = false;
    bool focus_requested_ = false;
};

}  // namespace tickwell::qt
