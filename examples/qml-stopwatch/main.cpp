// SPDX-License-Identifier: MIT
// qml-stopwatch: an analog stopwatch counting up and a digital one counting down with
// hundredths, side by side in a Qt Quick Controls window, with Start, Stop, Reset and Lap
// buttons, the laps with their splits, and the About box.
//
// --smoke starts both watches, takes a lap after a second and quits after two: 0 when a lap
// was listed and no QML warning was printed, 1 otherwise. --screenshot FILE saves the window
// after a second and a half of running, then quits.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>

namespace {

int qml_warnings = 0;
QtMessageHandler previous_handler = nullptr;

// Every warning counts: a smoke run that printed one fails.
void count_warnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) ++qml_warnings;
    previous_handler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("QML stopwatch"));
    const QStringList arguments = QGuiApplication::arguments();
    const bool smoke = arguments.contains(QStringLiteral("--smoke"));
    const qsizetype shot_at = arguments.indexOf(QStringLiteral("--screenshot"));
    const QString screenshot =
        shot_at > 0 && shot_at + 1 < arguments.size() ? arguments.at(shot_at + 1) : QString();
    previous_handler = qInstallMessageHandler(count_warnings);

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(TICKWELL_QML_DIR));
    engine.setInitialProperties({{QStringLiteral("autoRun"), smoke || !screenshot.isEmpty()}});
    engine.load(QUrl(QStringLiteral("qrc:/Main.qml")));
    if (engine.rootObjects().isEmpty()) return 1;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst());
    if (!window) return 1;

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, window, [window, screenshot] {
            const bool saved = window->grabWindow().save(screenshot);
            QGuiApplication::exit(saved ? 0 : 1);
        });
        return QGuiApplication::exec();
    }
    if (!smoke) return QGuiApplication::exec();

    QTimer::singleShot(2000, window, [window] {
        const int laps = window->property("lapCount").toInt();
        std::printf("qml-stopwatch: %s shown, %d lap listed, %d warnings\n",
                    qPrintable(window->property("shownText").toString()), laps, qml_warnings);
        QGuiApplication::exit(laps == 1 && qml_warnings == 0 ? 0 : 1);
    });
    return QGuiApplication::exec();
}
