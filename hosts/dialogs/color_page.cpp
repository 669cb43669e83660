// SPDX-License-Identifier: MIT
#include <tickwell/qt/color_page.hpp>

#include <QBoxLayout>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/qt_text.hpp>
#include <tickwell/qt/scene_painter.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::qt {
namespace {

QPixmap swatch(const ColorScheme& colors, std::uint32_t color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(colors.to_qcolor(color));
    return pixmap;
}

// "button face (system colour 15)" or "#FF8000".
QString describe(std::uint32_t color) {
    if (is_system_color(color)) {
        for (const SystemColor& s : system_palette())
            if (color == (kSystemColorFlag | s.index))
                return QStringLiteral("%1 (system colour %2)").arg(qt_text(s.name)).arg(s.index);
        return QStringLiteral("system colour 0x%1").arg(color, 8, 16, QLatin1Char('0'));
    }
    return to_qcolor(color).name().toUpper();
}

}  // namespace

const std::vector<std::string_view>& ColorPage::properties() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> v;
        for (const MemberInfo& m : Registry::members())
            if (!m.is_method && m.type == PropertyType::color) v.push_back(m.name);
        return v;
    }();
    return names;
}

ColorPage::ColorPage(QList<VexClockWidget*> selection, QWidget* parent)
    : PageTab(std::move(selection), parent),
      properties_(new QListWidget(this)),
      system_colors_(new QComboBox(this)),
      swatch_(new QLabel(this)),
      value_(new QLabel(this)),
      colors_(properties().size()) {
    setObjectName(QStringLiteral("StandardColor"));
    properties_->setObjectName(QStringLiteral("Properties"));
    system_colors_->setObjectName(QStringLiteral("SystemColor"));
    swatch_->setObjectName(QStringLiteral("Swatch"));
    value_->setObjectName(QStringLiteral("ColorValue"));
    for (std::string_view p : properties())
        properties_->addItem(qt_text(p));
    for (const SystemColor& s : system_palette())
        system_colors_->addItem(QIcon(swatch(colors(), kSystemColorFlag | s.index, {16, 16})),
                                qt_text(s.name));
    auto* other = new QPushButton(tr("Other colour..."), this);
    other->setObjectName(QStringLiteral("OtherColor"));

    auto* chosen = new QHBoxLayout;
    chosen->addWidget(swatch_);
    chosen->addWidget(value_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("System colour:"), this));
    right->addWidget(system_colors_);
    right->addWidget(other);
    right->addLayout(chosen);
    right->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("Properties:"), this));
    left->addWidget(properties_);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addLayout(right);

    connect(properties_, &QListWidget::currentRowChanged, this, [this] { show_current(); });
    connect(system_colors_, &QComboBox::activated, this, &ColorPage::choose_system_color);
    connect(other, &QPushButton::clicked, this, &ColorPage::ask_for_color);
    properties_->setCurrentRow(0);
}

QString ColorPage::caption() const {
    return tr("Colour");
}

void ColorPage::selection_changed() {
    VexClock& control = selected_control(0);
    for (std::size_t i = 0; i < colors_.size(); ++i)
        colors_[i] = to_color(control.get(properties()[i]));
    show_current();
}

void ColorPage::apply_changes() {
    VexClock& control = selected_control(0);
    // Colours travel as Long values holding their 32 bits.
    for (std::size_t i = 0; i < colors_.size(); ++i)
        control.put(properties()[i], Value(static_cast<std::int32_t>(colors_[i])));
}

void ColorPage::select_property(int index) {
    properties_->setCurrentRow(index);
}

void ColorPage::choose_system_color(int index) {
    const auto palette = system_palette();
    if (index < 0 || index >= static_cast<int>(palette.size())) return;
    choose(kSystemColorFlag | palette[static_cast<std::size_t>(index)].index);
}

void ColorPage::choose_color(const QColor& color) {
    if (!color.isValid()) return;
    choose(static_cast<std::uint32_t>(color.red()) |
           static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16);
}

void ColorPage::choose(std::uint32_t color) {
    const int row = properties_->currentRow();
    if (row < 0) return;
    colors_[static_cast<std::size_t>(row)] = color;
    show_current();
    set_changed(true);
}

void ColorPage::show_current() {
    const int row = properties_->currentRow();
    if (row < 0) return;
    const std::uint32_t color = colors_[static_cast<std::size_t>(row)];
    int system_index = -1;
    if (is_system_color(color) && system_color(color & 0xFF) && (color & 0x7FFFFF00) == 0)
        system_index = static_cast<int>(color & 0xFF);
    system_colors_->setCurrentIndex(system_index);
    swatch_->setPixmap(swatch(colors(), color, {64, 24}));
    value_->setText(describe(color));
}

void ColorPage::ask_for_color() {
    const int row = properties_->currentRow();
    if (row < 0) return;
    choose_color(QColorDialog::getColor(colors().to_qcolor(colors_[static_cast<std::size_t>(row)]),
                                        this, tr("Colour")));
}

const ColorScheme& ColorPage::colors() const {
    const VexClockWidget* shown = selected_widget(0);
    return shown ? shown->colorScheme() : ColorScheme::fixed();
}

}  // namespace tickwell::qt
