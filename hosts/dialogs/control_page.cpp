// SPDX-License-Identifier: MIT
#include <tickwell/qt/control_page.hpp>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include <tickwell/platform/error.hpp>
#include <tickwell/qt/qt_text.hpp>

namespace tickwell::qt {
namespace {

template <typename Map>
auto& field_of(Map& fields, std::string_view page, std::string_view name, const char* kind) {
    const auto it = fields.find(name);
    // The page's own description names its fields: a miss is a programming error.
    if (it == fields.end())
        throw std::logic_error(std::string(page) + " page has no " + kind + " \"" +
                               std::string(name) + "\"");
    return *it->second;
}

}  // namespace

class ControlPage::TextBox final : public TextBoxField {
  public:
    TextBox(ControlPage& page, QLineEdit* edit) : page_(page), edit_(edit) {}
    std::string text() const override { return edit_->text().toStdString(); }
    void set_text(const std::string& text) override {
        edit_->setText(QString::fromStdString(text));
    }
    void set_focus() override { page_.focus_field(edit_); }

  private:
    ControlPage& page_;
    QLineEdit* edit_;
};

class ControlPage::ComboBox final : public ComboBoxField {
  public:
    ComboBox(const FieldInfo& info, QComboBox* combo) : info_(info), combo_(combo) {}
    void clear() override { combo_->clear(); }
    void add_item(const std::string& text) override {
        combo_->addItem(QString::fromStdString(text));
        // Adding an item selects nothing; Qt would choose the first one by itself.
        if (combo_->count() == 1) combo_->setCurrentIndex(-1);
    }
    int list_index() const override { return combo_->currentIndex(); }
    void set_list_index(int index) override {
        if (index < -1 || index >= combo_->count())
            throw Error(ErrorKind::invalid_value,
                        std::string(info_.name) + " has no item " + std::to_string(index));
        combo_->setCurrentIndex(index);
    }

  private:
    const FieldInfo& info_;
    QComboBox* combo_;
};

class ControlPage::CheckBox final : public CheckBoxField {
  public:
    CheckBox(const FieldInfo& info, QCheckBox* box) : info_(info), box_(box) {}
    int value() const override {
        switch (box_->checkState()) {
            case Qt::Unchecked:
                return unchecked;
            case Qt::Checked:
                return checked;
            case Qt::PartiallyChecked:
                break;
        }
        return 2;
    }
    void set_value(int value) override {
        if (value < unchecked || value > 2)
            throw Error(
                ErrorKind::invalid_value,
                std::string(info_.name) + " cannot take the value " + std::to_string(value));
        if (value == 2) box_->setTristate(true);
        box_->setCheckState(value == checked     ? Qt::Checked
                            : value == unchecked ? Qt::Unchecked
                                                 : Qt::PartiallyChecked);
    }

  private:
    const FieldInfo& info_;
    QCheckBox* box_;
};

ControlPage::ControlPage(const PageInfo& page, QList<VexClockWidget*> selection, QWidget* parent)
    : PageTab(std::move(selection), parent), page_(page) {
    setObjectName(qt_text(page.name));
    // The pages were laid out for an 8-point dialog font.
    QFont page_font = font();
    page_font.setPointSizeF(8);
    setFont(page_font);
    const QRect client(0, 0, x_pixels(page.client_width), y_pixels(page.client_height));
    QRect area = client;

    const auto mark_changed = [this] { field_changed(*this); };
    std::vector<std::pair<int, QWidget*>> focus_chain;
    for (const FieldInfo& f : page.fields) {
        QWidget* widget = nullptr;
        switch (f.kind) {
            case FieldKind::label: {
                auto* label = new QLabel(qt_text(f.caption), this);
                label->setTextFormat(Qt::PlainText);
                widget = label;
                break;
            }
            case FieldKind::text_box: {
                auto* edit = new QLineEdit(this);
                connect(edit, &QLineEdit::textChanged, this, mark_changed);
                text_boxes_.emplace(f.name, std::make_unique<TextBox>(*this, edit));
                widget = edit;
                break;
            }
            case FieldKind::combo_box: {
                auto* combo = new QComboBox(this);
                connect(combo, &QComboBox::currentTextChanged, this, mark_changed);
                combo_boxes_.emplace(f.name, std::make_unique<ComboBox>(f, combo));
                widget = combo;
                break;
            }
            case FieldKind::check_box: {
                auto* box = new QCheckBox(qt_text(f.caption), this);
                connect(box, &QCheckBox::stateChanged, this, mark_changed);
                check_boxes_.emplace(f.name, std::make_unique<CheckBox>(f, box));
                widget = box;
                break;
            }
        }
        widget->setObjectName(qt_text(f.name));
        QRect place(x_pixels(f.box.left), y_pixels(f.box.top), x_pixels(f.box.width),
                    y_pixels(f.box.height));
        // Captions were measured for the original dialog font: where the font in use is
        // wider, a caption runs on to the right (nothing stands beside one) instead of being
        // cut off.
        if (f.kind == FieldKind::label || f.kind == FieldKind::check_box)
            place.setSize(place.size().expandedTo(widget->sizeHint()));
        widget->setGeometry(place);
        area = area.united(place);
        if (f.focus_order > 0) focus_chain.emplace_back(f.focus_order, widget);
    }
    // A caption that ran on keeps the page's margin on its right too.
    if (area != client) area.adjust(0, 0, x_pixels(page.fields.front().box.left), 0);
    setMinimumSize(area.size());
    std::sort(focus_chain.begin(), focus_chain.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focus_chain.size(); ++i)
        setTabOrder(focus_chain[i - 1].second, focus_chain[i].second);
}

ControlPage::~ControlPage() = default;

QString ControlPage::caption() const {
    return qt_text(page_.caption);
}

void ControlPage::selection_changed() {
    page_.selection_changed(page_, *this, *this);
}

void ControlPage::apply_changes() {
    page_.apply_changes(page_, *this, *this);
}

TextBoxField& ControlPage::text_box(std::string_view name) {
    return field_of(text_boxes_, page_.name, name, "text box");
}

ComboBoxField& ControlPage::combo_box(std::string_view name) {
    return field_of(combo_boxes_, page_.name, name, "combo box");
}

CheckBoxField& ControlPage::check_box(std::string_view name) {
    return field_of(check_boxes_, page_.name, name, "check box");
}

}  // namespace tickwell::qt
