// SPDX-License-Identifier: MIT
#include <tickwell/qt/picture_page.hpp>

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include <tickwell/control/vex_clock.hpp>
#include <tickwell/files/text_file.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/qt/pointer_cursor.hpp>

namespace tickwell::qt {
namespace {

constexpr const char* kProperty = "MouseIcon";

}  // namespace

PicturePage::PicturePage(QList<VexClockWidget*> selection, QWidget* parent)
    : PageTab(std::move(selection), parent),
      preview_(new QLabel(this)),
      description_(new QLabel(this)) {
    setObjectName(QStringLiteral("StandardPicture"));
    preview_->setObjectName(QStringLiteral("Preview"));
    description_->setObjectName(QStringLiteral("PictureDescription"));
    preview_->setFixedSize(72, 72);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::Box);
    auto* load = new QPushButton(tr("Load..."), this);
    load->setObjectName(QStringLiteral("LoadPicture"));
    auto* clear = new QPushButton(tr("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearPicture"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Property: %1").arg(QLatin1String(kProperty)), this), 0, 0, 1, 2);
    grid->addWidget(preview_, 1, 0, 2, 1);
    grid->addWidget(load, 1, 1);
    grid->addWidget(clear, 2, 1);
    grid->addWidget(description_, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);

    connect(load, &QPushButton::clicked, this, &PicturePage::ask_for_file);
    connect(clear, &QPushButton::clicked, this, &PicturePage::clear_picture);
}

QString PicturePage::caption() const {
    return tr("Picture");
}

void PicturePage::selection_changed() {
    picture_ = to_picture(selected_control(0).get(kProperty));
    show_picture();
}

void PicturePage::apply_changes() {
    selected_control(0).put(kProperty, Value(picture_));
}

bool PicturePage::load_file(const QString& path) {
    const std::string format = Picture::format_for_path(path.toStdString());
    if (format.empty()) {
        show_message(tr("%1 is not a PNG, BMP, ICO or SVG file.").arg(path));
        return false;
    }
    // Read through the hosts' guarded path: a FIFO, a device or a huge file is refused
    // rather than waited for or read without end.
    std::vector<std::uint8_t> bytes;
    try {
        bytes = headless::read_picture_file(path.toStdString());
    } catch (const headless::FileError& e) {
        show_message(QString::fromStdString(e.what()));
        return false;
    }
    try {
        picture_ = Picture::make_encoded(format, std::move(bytes));
    } catch (const Error& e) {
        show_message(tr("%1 holds no picture: %2").arg(path, QString::fromStdString(e.what())));
        return false;
    }
    show_picture();
    set_changed(true);
    return true;
}

void PicturePage::clear_picture() {
    picture_ = nullptr;
    show_picture();
    set_changed(true);
}

void PicturePage::show_picture() {
    const QImage image = picture_image(picture_);
    preview_->setPixmap(image.isNull() ? QPixmap()
                                       : QPixmap::fromImage(image.scaled(
                                             preview_->size() - QSize(8, 8), Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation)));
    description_->setText(QString::fromStdString(describe(picture_)));
}

void PicturePage::ask_for_file() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Load Picture"), {}, tr("Pictures (*.png *.bmp *.ico *.svg);;All files (*)"));
    if (!path.isEmpty()) load_file(path);
}

}  // namespace tickwell::qt
