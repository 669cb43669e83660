// SPDX-License-Identifier: MIT
#include <tickwell/qt/page_tab.hpp>

#include <cmath>

#include <tickwell/platform/error.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::qt {

PageTab::PageTab(QList<VexClockWidget*> selection, QWidget* parent) : QWidget(parent) {
    Q_ASSERT(!selection.isEmpty());
    for (VexClockWidget* widget : selection)
        selection_.append(widget);
}

VexClockWidget* PageTab::selected_widget(std::size_t index) const {
    return index < static_cast<std::size_t>(selection_.size())
               ? selection_[static_cast<qsizetype>(index)].data()
               : nullptr;
}

std::size_t PageTab::selected_count() const {
    return static_cast<std::size_t>(selection_.size());
}

VexClock& PageTab::selected_control(std::size_t index) {
    VexClockWidget* widget = selected_widget(index);
    if (!widget)
        throw Error(ErrorKind::invalid_value,
                    "the selected control " + std::to_string(index) + " no longer exists");
    return widget->control();
}

void PageTab::set_changed(bool changed) {
    if (changed == changed_) return;
    changed_ = changed;
    emit changedChanged(changed);
}

void PageTab::focus_field(QWidget* field) {
    focus_requested_ = true;
    emit showRequested();
    field->setFocus(Qt::OtherFocusReason);
}

TwipsPerPixel PageTab::twips_per_pixel() const {
    const VexClockWidget* first = selected_widget(0);
    return first ? first->twipsPerPixel() : TwipsPerPixel{};
}

int PageTab::x_pixels(int twips) const {
    return static_cast<int>(std::lround(twips / twips_per_pixel().x));
}

int PageTab::y_pixels(int twips) const {
    return static_cast<int>(std::lround(twips / twips_per_pixel().y));
}

void PageTab::show_message(const QString& prompt) {
    message_box_service().show(this, prompt, MessageButtons::ok, MessageIcon::information);
}

}  // namespace tickwell::qt
