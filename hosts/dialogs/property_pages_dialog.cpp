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

// The tabs, the buttons and the pages in tab order.
class PropertyPagesDialog::Private {
  public:
    explicit Private(PropertyPagesDialog& dialog)
        : dialog(dialog),
          tabs(new QTabWidget(&dialog)),
          buttons(new QDialogButtonBox(
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, &dialog)) {
    }

    // False when the page's apply stayed pending.
    bool apply_page(PageTab& page);
    void update_apply_button();
    void show_error(const QString& what, const std::exception& error);

    PropertyPagesDialog& dialog;
    QTabWidget* tabs;
    QDialogButtonBox* buttons;
    QList<PageTab*> pages;
};

PropertyPagesDialog::PropertyPagesDialog(QList<VexClockWidget*> selection, QWidget* parent)
    : QDialog(parent), d_(std::make_unique<Private>(*this)) {
    Q_ASSERT(!selection.isEmpty());
    QTabWidget* tabs = d_->tabs;
    QDialogButtonBox* buttons = d_->buttons;
    setWindowTitle(tr("VexClock Properties"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    for (std::string_view name : property_pages()) {
        PageTab* page = make_page(name, selection, tabs);
        if (!page) continue;
        tabs->addTab(page, page->caption());
        d_->pages.append(page);
        connect(page, &PageTab::changedChanged, this, [this] { d_->update_apply_button(); });
        connect(page, &PageTab::showRequested, this,
                [this, page] { d_->tabs->setCurrentWidget(page); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (apply()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &PropertyPagesDialog::apply);

    // The frame's selection-changed call. The pages' change handlers mark them changed while
    // they fill their fields; the frame knows that filling is no edit.
    for (PageTab* page : d_->pages) {
        try {
            page->selection_changed();
        } catch (const std::exception& e) {
            d_->show_error(tr("Could not show"), e);
        }
        page->set_changed(false);
    }
    d_->update_apply_button();
}

PropertyPagesDialog::~PropertyPagesDialog() = default;

bool PropertyPagesDialog::apply() {
    for (PageTab* page : d_->pages)
        if (page->changed() && !d_->apply_page(*page)) return false;
    return true;
}

bool PropertyPagesDialog::Private::apply_page(PageTab& page) {
    page.set_changed(false);
    page.clear_focus_request();
    try {
        page.apply_changes();
    } catch (const std::exception& e) {
        // The fields after the failing one are still to be written.
        page.set_changed(true);
        tabs->setCurrentWidget(&page);
        show_error(PropertyPagesDialog::tr("Could not apply"), e);
        return false;
    }
    // The page's own check refused a field: it has put the focus there and marked itself
    // changed again.
    if (page.focus_requested()) return false;
    // A page may rewrite a field as it applies (the start time in its normal form): no edit.
    page.set_changed(false);
    return true;
}

void PropertyPagesDialog::Private::update_apply_button() {
    bool any = false;
    for (const PageTab* page : pages)
        any = any || page->changed();
    buttons->button(QDialogButtonBox::Apply)->setEnabled(any);
}

// "Could not apply AlertTime: "12abc" is not a number": errors are attributed to the
// property whose put or get failed.
void PropertyPagesDialog::Private::show_error(const QString& what, const std::exception& error) {
    message_box_service().show(&dialog,
                               what + QLatin1Char(' ') + QString::fromStdString(error.what()),
                               MessageButtons::ok, MessageIcon::information);
}

}  // namespace tickwell::qt
