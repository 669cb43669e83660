// SPDX-License-Identifier: MIT
#include "lap_table.hpp"

#include <QHeaderView>
#include <QStringList>

#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::demo {

QString lap_time(qint64 ms) {
    const qint64 hundredths = ms / 10;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(hundredths / 360000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

LapTable::LapTable(QWidget* parent) : QTableWidget(0, 4, parent) {
    setHorizontalHeaderLabels({tr("Control"), tr("Lap"), tr("Time"), tr("Split")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    const auto width_of = [this](const char* text) {
        return fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 16;
    };
    setColumnWidth(kControl, width_of("VexClock00"));
    setColumnWidth(kLap, width_of("Lap00"));
    setColumnWidth(kTotal, width_of("00:00:00.00"));
}

void LapTable::watch(qt::VexClockWidget* control) {
    connect(control, &qt::VexClockWidget::lapped, this,
            [this, control](int lap, qint64 total_ms, qint64 split_ms) {
                append(control->objectName(), lap, total_ms, split_ms);
            });
}

void LapTable::append(const QString& control, int lap, qint64 total_ms, qint64 split_ms) {
    const int row = rowCount();
    insertRow(row);
    const QString cells[] = {control, QString::number(lap), lap_time(total_ms), lap_time(split_ms)};
    for (int column = 0; column < 4; ++column)
        setItem(row, column, new QTableWidgetItem(cells[column]));
    scrollToBottom();
}

QString LapTable::csv() const {
    // Control names are letters, digits and _, and times have no commas: nothing to quote.
    QString text = QStringLiteral("control,lap,time,split\n");
    for (int row = 0; row < rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column)
            cells << item(row, column)->text();
        text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace tickwell::demo
