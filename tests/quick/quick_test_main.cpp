// SPDX-License-Identifier: MIT
// The QML test cases of the Tickwell module, tst_*.qml in this folder; run with the module's
// build folder as an import path. The items' clock and timers are the tests' own, moved by
// `testTime.advance(ms)`: the module's host library is the one this program links, shared.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "manual_time.hpp"

// What the tests reach as testTime.
class TestTime : public QObject {
    Q_OBJECT
  public:
    // Moves the clock on by `ms` milliseconds, running every timer due on the way.
    Q_INVOKABLE void advance(int ms) { time_.advance(ms); }

  private:
    tickwell::testing::ManualTime time_;
};

class Setup : public QObject {
    Q_OBJECT
  public slots:
    void qmlEngineAvailable(QQmlEngine* engine) {
        engine->rootContext()->setContextProperty(QStringLiteral("testTime"), &time_);
    }

  private:
    TestTime time_;
};

QUICK_TEST_MAIN_WITH_SETUP(tickwell_quick, Setup)

#include "quick_test_main.moc"
