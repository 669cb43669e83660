// SPDX-License-Identifier: MIT
// Shows the window of stopwatch_window.ui: everything it does is wired in the form.
//
// --smoke presses Start, waits until the label (fed by the stopwatch's textChanged) has moved
// past a tenth of a second, presses Lap and Stop, and exits: 0 when the stopwatch stopped with
// one lap and the label showing what the face shows, 1 otherwise.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "ui_stopwatch_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    Ui::StopwatchWindow form;
    form.setupUi(&window);
    window.show();
    if (!QApplication::arguments().contains(QStringLiteral("--smoke"))) return QApplication::exec();

    int result = 1;
    QObject::connect(form.watch, &tickwell::qt::VexClockWidget::textChanged, &app,
                     [&](const QString& shown) {
                         if (shown < QStringLiteral("00:00:00.10")) return;
                         form.lapButton->click();
                         form.stopButton->click();
                         const bool stopped = !form.watch->property("running").toBool();
                         const bool agree = form.shownTime->text() == form.watch->text();
                         result = stopped && agree && form.watch->laps().size() == 1 ? 0 : 1;
                         std::printf(
                             "designer-form: the label shows %s as the face does: %s; "
                             "%s; %zu lap\n",
                             qPrintable(form.shownTime->text()), agree ? "yes" : "no",
                             stopped ? "stopped" : "still running", form.watch->laps().size());
                         QApplication::exit();
                     });
    QTimer::singleShot(5000, &app, [] {
        std::printf("designer-form: the label did not move within 5 seconds\n");
        QApplication::exit();
    });
    form.startButton->click();
    QApplication::exec();
    return result;
}
