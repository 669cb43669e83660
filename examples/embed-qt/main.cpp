// SPDX-License-Identifier: MIT
// embed-qt: one stopwatch in a window of your own, with Start and Stop buttons and a label
// that follows the count on every Notify.
//
// --smoke starts the stopwatch, waits for the label to change, stops it and exits: 0 when the
// label followed the count, 1 when no Notify came within five seconds.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include <tickwell/qt/vex_clock_widget.hpp>

using tickwell::qt::VexClockWidget;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool smoke = QApplication::arguments().contains(QStringLiteral("--smoke"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Embedded stopwatch"));

    // A new control in a running program (user mode), set up in code.
    auto* clock = new VexClockWidget;
    clock->control().setDisplay(tickwell::Display::digital);
    clock->control().setAccuracy(tickwell::Accuracy::tenths);

    auto* start = new QPushButton(QStringLiteral("Start"));
    auto* stop = new QPushButton(QStringLiteral("Stop"));
    auto* reset = new QPushButton(QStringLiteral("Reset"));
    auto* lap = new QPushButton(QStringLiteral("Lap"));
    auto* label = new QLabel(QStringLiteral("00:00:00.0"));
    auto* laps = new QListWidget;
    // The widget's slots take the buttons directly; Start on a running watch changes nothing.
    QObject::connect(start, &QPushButton::clicked, clock, &VexClockWidget::start);
    QObject::connect(stop, &QPushButton::clicked, clock, &VexClockWidget::stop);
    QObject::connect(reset, &QPushButton::clicked, clock, &VexClockWidget::reset);
    QObject::connect(reset, &QPushButton::clicked, laps, &QListWidget::clear);
    QObject::connect(lap, &QPushButton::clicked, clock, &VexClockWidget::lap);
    QObject::connect(
        clock, &VexClockWidget::lapped, laps, [laps](int index, qint64 total_ms, qint64 split_ms) {
            laps->addItem(QString::asprintf("Lap %d  %lld.%02lld s  (+%lld.%02lld s)", index,
                                            total_ms / 1000, total_ms % 1000 / 10, split_ms / 1000,
                                            split_ms % 1000 / 10));
        });
    // The label shows what the face shows, as it changes.
    QObject::connect(clock, &VexClockWidget::textChanged, label, &QLabel::setText);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {start, stop, reset, lap})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(label);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(clock, 1);
    layout->addLayout(buttons);
    layout->addWidget(laps);
    window.show();

    if (!smoke) return QApplication::exec();

    int result = 1;
    QObject::connect(clock, &VexClockWidget::notify, &app, [&] {
        if (label->text() == QStringLiteral("00:00:00.0")) return;
        lap->click();
        stop->click();
        result = clock->control().Running() || laps->count() != 1 ? 1 : 0;
        std::printf("embed-qt: the label shows %s after Notify; %s; %d lap listed\n",
                    qPrintable(label->text()),
                    clock->control().Running() ? "still running" : "stopped", laps->count());
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
