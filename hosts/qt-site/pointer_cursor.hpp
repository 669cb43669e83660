// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QImage>
#include <cstdint>
#include <optional>
#include <tickwell/platform/api.hpp>

#include <tickwell/platform/picture.hpp>

namespace tickwell::qt {

// The cursor of a MousePointer value from 1 to 15 (swArrow to swSizeAll). nullopt for 0
// (swDefault: the widget shows its parent's cursor), 99 (swCustom, see picture_cursor) and
// any other value.
TICKWELL_API std::optional<QCursor> pointer_cursor(std::int16_t shape);

// The cursor made of a custom pointer picture, its hot spot in the middle; nullopt for the
// empty picture and for one that cannot be drawn (the default cursor shows then).
TICKWELL_API std::optional<QCursor> picture_cursor(const PictureRef& picture);

// A picture's pixels at its own size, transparent where it paints nothing. A drawn (vector)
// picture has no size of its own and is drawn into `vector_size` pixels. Null for the empty
// picture and for data Qt cannot decode.
TICKWELL_API QImage picture_image(const PictureRef& picture, QSize vector_size = {32, 32});

}  // namespace tickwell::qt
