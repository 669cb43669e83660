// SPDX-License-Identifier: MIT
#pragma once

#include <tickwell/platform/api.hpp>
#include <tickwell/platform/picture.hpp>
#include <tickwell/qt/page_tab.hpp>

class QLabel;

namespace tickwell::qt {

// The standard picture page: the control's picture property MouseIcon (the custom pointer),
// loaded from a PNG, BMP, ICO or SVG file or cleared. The picture chosen is written to the
// first selected control by name when the page applies.
class TICKWELL_API PicturePage final : public PageTab {
    Q_OBJECT

  public:
    PicturePage(QList<VexClockWidget*> selection, QWidget* parent);

    QString caption() const override;
    void selection_changed() override;
    void apply_changes() override;

    const PictureRef& picture() const { return picture_; }

    // --- A user's edits; each marks the page changed ---
    // Takes the picture in the file at `path`. A file that cannot be read or holds no
    // picture of its kind keeps the picture as it was and says why in a message box; false
    // then.
    bool load_file(const QString& path);
    void clear_picture();

  private:
    void show_picture();
    void ask_for_file();

    PictureRef picture_;
    QLabel* preview_;
    QLabel* description_;
};

}  // namespace tickwell::qt
