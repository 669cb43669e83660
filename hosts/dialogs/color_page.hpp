// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <cstdint>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/page_tab.hpp>

class QComboBox;
class QLabel;
class QListWidget;

namespace tickwell::qt {

// The standard colour page: the control's colour properties, in the order of its interface
// (BorderColor, ForeColor, BackGround, SegmentColor, CellColor), each set to a system colour
// chosen by name (it then follows the desktop's scheme) or to any other colour through a
// colour dialog. The colours chosen are written to the first selected control by name when
// the page applies, all of them each time. Swatches show system colours as the first
// selected widget paints them, through its palette.
class TICKWELL_API ColorPage final : public PageTab {
    Q_OBJECT

  public:
    // The colour properties, as the registry lists them.
    static const std::vector<std::string_view>& properties();

    ColorPage(QList<VexClockWidget*> selection, QWidget* parent);

    QString caption() const override;
    void selection_changed() override;
    void apply_changes() override;

    // The colour chosen for property `index` of properties() (0x00BBGGRR or 0x800000nn).
    std::uint32_t color(std::size_t index) const { return colors_[index]; }

    // --- A user's edits of the property selected in the list; each marks the page changed.
    void select_property(int index);
    void choose_system_color(int index);  // an entry of the system palette
    void choose_color(const QColor& color);

  private:
    void choose(std::uint32_t color);
    void show_current();
    void ask_for_color();
    const ColorScheme& colors() const;

    QListWidget* properties_;
    QComboBox* system_colors_;
    QLabel* swatch_;
    QLabel* value_;
    std::vector<std::uint32_t> colors_;
};

}  // namespace tickwell::qt
