// SPDX-License-Identifier: MIT
// The control's texts (UTF-8, in string views) as the QStrings Qt shows.
#pragma once

#include <QString>
#include <string_view>

namespace tickwell::qt {

inline QString qt_text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace tickwell::qt
