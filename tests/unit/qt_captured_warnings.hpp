// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QtGlobal>

namespace tickwell::testing {

// The warnings (and worse) the program prints while an instance lives.
class CapturedWarnings {
  public:
    CapturedWarnings() {
        said().clear();
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type != QtDebugMsg && type != QtInfoMsg) said() << message;
            });
    }
    CapturedWarnings(const CapturedWarnings&) = delete;
    CapturedWarnings& operator=(const CapturedWarnings&) = delete;
    ~CapturedWarnings() { qInstallMessageHandler(previous_); }

    static QStringList& said() {
        static QStringList list;
        return list;
    }

  private:
    QtMessageHandler previous_;
};

}  // namespace tickwell::testing
