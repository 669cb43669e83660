// SPDX-License-Identifier: MIT
#include <tickwell/qt/property_pages_dialog.hpp>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

#include <tickwell/pages/property_pages.hpp>
#include <tickwell/qt/color_page.hpp>
#include <tickwell/qt/control_page.hpp>
#include <tickwell/qt/picture_page.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::qt {
namespace {

PageTab* make_page(std::string_view name, const QList<VexClockWidget*>& selection,
                   QWidget* parent) {
    if (const PageInfo* info = find_page(name)) return new ControlPage(*info, selection, parent);
    if (name == "StandardColor") return new ColorPage(selection, parent);
    if (name == "StandardPicture") return new PicturePage(selection, parent);
    return nullptr;
}

}  // namespace

PropertyPagesDialog::PropertyPagesDialog(QList<VexClockWidget*> selection, QWidget* parent)
    : QDialog(parent),
      tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
    Q_ASSERT(!selection.isEmpty());
    setWindowTitle(tr("VexClock Properties"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);

    for (std::string_view name : property_pages()) {
        PageTab* page = make_page(name, selection, tabs_);
        if (!page) continue;
        tabs_->addTab(page, page->caption());
        pages_.append(page);
        connect(page, &PageTab::changedChanged, this, &PropertyPagesDialog::update_apply_button);
        connect(page, &PageTab::showRequested, this,
                [this, page] { tabs_->setCurrentWidget(page); });
    }
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (apply()) accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &PropertyPagesDialog::apply);

    // The frame's selection-changed call. The pages' change handlers mark them changed while
    // they fill their fields; the frame knows that filling is no edit.
    for (PageTab* page : pages_) {
        try {
            page->selection_changed();
        } catch (const std::exception& e) {
            show_error(tr("Could not show"), e);
        }
        page->set_changed(false);
    }
    update_apply_button();
}

PropertyPagesDialog::~PropertyPagesDialog() = default;

bool PropertyPagesDialog::apply() {
    for (PageTab* page : pages_)
        if (page->changed() && !apply_page(*page)) return false;
    return true;
}

bool PropertyPagesDialog::apply_page(PageTab& page) {
    page.set_changed(false);
    page.clear_focus_request();
    try {
        page.apply_changes();
    } catch (const std::exception& e) {
        // The fields after the failing one are still to be written.
        page.set_changed(true);
        tabs_->setCurrentWidget(&page);
        show_error(tr("Could not apply"), e);
        return false;
    }
    // The page's own check refused a field: it has put the focus there and marked itself
    // changed again.
    if (page.focus_requested()) return false;
    // A page may rewrite a field as it applies (the start time in its normal form): no edit.
    page.set_changed(false);
    return true;
}

void PropertyPagesDialog::update_apply_button() {
    bool any = false;
    for (const PageTab* page : pages_)
        any = any || page->changed();
    buttons_->button(QDialogButtonBox::Apply)->setEnabled(any);
}

// "Could not apply AlertTime: "12abc" is not a number": errors are attributed to the
// property whose put or get failed.
void PropertyPagesDialog::show_error(const QString& what, const std::exception& error) {
    message_box_service().show(this, what + QLatin1Char(' ') + QString::fromStdString(error.what()),
                               MessageButtons::ok, MessageIcon::information);
}

}  // namespace tickwell::qt
