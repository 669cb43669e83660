// SPDX-License-Identifier: MIT
// embed-qt: one stopwatch in a window of your own, with Start and Stop buttons and a label
// that follows the count on every Notify.
//
// --smoke starts the stopwatch, waits for the label to change, stops it and exits: 0 when the
// label followed the count, 1 when no Notify came within five seconds.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "vex_clock_widget.hpp"

using tickwell::qt::VexClockWidget;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool smoke = QApplication::arguments().contains(QStringLiteral("--smoke"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Embedded stopwatch"));

    // A new control, set up as a designer would leave it, then handed to the running program.
    auto* clock = new VexClockWidget;
    clock->control().setDisplay(tickwell::Display::digital);
    clock->control().setAccuracy(tickwell::Accuracy::tenths);
    clock->setUserMode(true);

    auto* start = new QPushButton(QStringLiteral("Start"));
    auto* stop = new QPushButton(QStringLiteral("Stop"));
    auto* label = new QLabel(QStringLiteral("00:00:00.0"));
    QObject::connect(start, &QPushButton::clicked, clock, [clock] {
        if (!clock->control().Running()) clock->control().StartClock();
    });
    QObject::connect(stop, &QPushButton::clicked, clock, [clock] { clock->control().StopClock(); });
    // Notify comes whenever a digit of the face changes: the label shows the same count.
    QObject::connect(clock, &VexClockWidget::Notify, label, [clock, label] {
        const tickwell::VexClock& c = clock->control();
        label->setText(
            QString::asprintf("%02d:%02d:%02d.%d", c.Hours(), c.Minutes(), c.Seconds(), c.Tens()));
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addWidget(stop);
    buttons->addStretch();
    buttons->addWidget(label);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(clock, 1);
    layout->addLayout(buttons);
    window.show();

    if (!smoke) return QApplication::exec();

    int result = 1;
    QObject::connect(clock, &VexClockWidget::Notify, &app, [&] {
        if (label->text() == QStringLiteral("00:00:00.0")) return;
        stop->click();
        result = clock->control().Running() ? 1 : 0;
        std::printf("embed-qt: the label shows %s after Notify; %s\n", qPrintable(label->text()),
                    result == 0 ? "stopped" : "still running after Stop");
        QApplication::exit();
    });
    QTimer::singleShot(5000, &app, [] {
        std::printf("embed-qt: no Notify within 5 seconds\n");
        QApplication::exit();
    });
    start->click();
    QApplication::exec();
    return result;
}
