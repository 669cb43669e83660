// SPDX-License-Identifier: MIT
#include <tickwell/qt/png_renderer.hpp>

#include <QBuffer>
#include <QSaveFile>

#include <tickwell/platform/system_colors.hpp>
#include <tickwell/qt/scene_painter.hpp>

namespace tickwell::qt {

QImage render_image(const Scene& scene, PixelSize size, TwipsPerPixel tpp,
                    qreal device_pixel_ratio) {
    QImage image(qRound(size.width * device_pixel_ratio), qRound(size.height * device_pixel_ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(device_pixel_ratio);
    image.fill(to_qcolor(kSurfaceColor));
    QPainter painter(&image);
    paint_scene(painter, scene, tpp);
    painter.end();
    return image;
}

QByteArray encode_png(const Scene& scene, PixelSize size, TwipsPerPixel tpp) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!render_image(scene, size, tpp).save(&buffer, "PNG")) return {};
    return bytes;
}

bool render_png(const Scene& scene, PixelSize size, TwipsPerPixel tpp, const std::string& path) {
    const QByteArray png = encode_png(scene, size, tpp);
    // Written whole to a temporary beside the file (through a symbolic link to its target)
    // and renamed over it: a failed write leaves the old picture as it was.
    QSaveFile file(QString::fromStdString(path));
    return !png.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(png) == png.size() &&
           file.commit();
}

}  // namespace tickwell::qt
