// SPDX-License-Identifier: MIT
#include <tickwell/qt/qt_properties.hpp>

#include <QBuffer>

#include <tickwell/qt/color_scheme.hpp>
#include <tickwell/qt/pointer_cursor.hpp>

namespace tickwell::qt {

QColor color_to_qt(std::uint32_t color) {
    return ColorScheme::fixed().to_qcolor(color);
}

std::uint32_t color_from_qt(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

QPixmap picture_to_qt(const PictureRef& picture) {
    if (!picture) return {};
    return QPixmap::fromImage(picture_image(picture));
}

PictureRef picture_from_qt(const QPixmap& pixmap) {
    if (pixmap.isNull()) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return Picture::make_encoded("png", {png.begin(), png.end()});
}

}  // namespace tickwell::qt
