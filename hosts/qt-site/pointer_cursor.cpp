// SPDX-License-Identifier: MIT
#include <tickwell/qt/pointer_cursor.hpp>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <array>

#include <tickwell/platform/scene.hpp>
#include <tickwell/qt/scene_painter.hpp>

namespace tickwell::qt {
namespace {

// swIcon, a small square inside a larger one: Qt has no such shape of its own.
QCursor icon_cursor() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::white);
    p.drawRect(1, 1, 13, 13);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    p.fillRect(5, 5, 6, 6, Qt::black);
    p.end();
    return QCursor(pixmap, 8, 8);
}

// MousePointerConstants 1 to 15 in order.
constexpr std::array<Qt::CursorShape, 15> kShapes{
    Qt::ArrowCursor,      // 1 swArrow
    Qt::CrossCursor,      // 2 swCrossHair
    Qt::IBeamCursor,      // 3 swIBeam
    Qt::BitmapCursor,     // 4 swIcon: drawn by icon_cursor()
    Qt::SizeAllCursor,    // 5 swSize
    Qt::SizeBDiagCursor,  // 6 swNESW
    Qt::SizeVerCursor,    // 7 swNS
    Qt::SizeFDiagCursor,  // 8 swNWSE
    Qt::SizeHorCursor,    // 9 swWE
    Qt::UpArrowCursor,    // 10 swUpArrow
    Qt::WaitCursor,       // 11 swHourglass
    Qt::ForbiddenCursor,  // 12 swNoDrop
    Qt::BusyCursor,       // 13 swArrowHourglass
    Qt::WhatsThisCursor,  // 14 swArrowQuestionMark
    Qt::SizeAllCursor,    // 15 swSizeAll
};

}  // namespace

std::optional<QCursor> pointer_cursor(std::int16_t shape) {
    if (shape < 1 || shape > 15) return std::nullopt;
    const Qt::CursorShape qt_shape = kShapes[static_cast<std::size_t>(shape - 1)];
    if (qt_shape == Qt::BitmapCursor) return icon_cursor();
    return QCursor(qt_shape);
}

QImage picture_image(const PictureRef& picture, QSize vector_size) {
    if (!picture) return {};
    if (picture->kind() == Picture::Kind::encoded) {
        if (picture->format() == "svg") return {};  // Qt GUI reads no SVG; see scene_painter
        const auto data = picture->data();
        const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                         static_cast<qsizetype>(data.size()));
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, picture->format().c_str());
        // The picture's header was checked when it was made; the decoder's own reading of the
        // size is checked again before it allocates, in case the two disagree.
        const QSize size = reader.size();
        if (!size.isValid() || std::int64_t{size.width()} * size.height() > Picture::kMostPixels)
            return {};
        return reader.read();
    }
    // A drawn picture: shown by the one scene painter, through a one-image scene.
    constexpr TwipsPerPixel kPixel{1, 1};
    Scene scene;
    auto& image = scene.add<ImageElement>("Picture");
    image.set_picture(picture);
    image.set_stretch(true);
    image.move(0, 0, static_cast<float>(vector_size.width()),
               static_cast<float>(vector_size.height()));
    QImage pixels(vector_size, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    paint_scene(painter, scene, kPixel);
    painter.end();
    return pixels;
}

std::optional<QCursor> picture_cursor(const PictureRef& picture) {
    const QImage image = picture_image(picture);
    if (image.isNull()) return std::nullopt;
    const QPixmap pixmap = QPixmap::fromImage(image);
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

}  // namespace tickwell::qt
