// SPDX-License-Identifier: MIT
#include "event_log.hpp"

#include <QHeaderView>
#include <QTime>

#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::demo {

namespace {

QString keys(int code, int shift) {
    return QStringLiteral("KeyCode=%1 Shift=%2").arg(code).arg(shift);
}

QString mouse(int button, int shift, float x, float y) {
    return QStringLiteral("Button=%1 Shift=%2 X=%3 Y=%4").arg(button).arg(shift).arg(x).arg(y);
}

}  // namespace

EventLog::EventLog(QWidget* parent) : QTableWidget(0, 5, parent) {
    setHorizontalHeaderLabels(
        {tr("Time"), tr("Control"), tr("Event"), tr("Count"), tr("Arguments")});
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(false);
    setColumnWidth(kTime, fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) + 16);
    setColumnWidth(kControl, fontMetrics().horizontalAdvance(QStringLiteral("VexClock00")) + 16);
    setColumnWidth(kEvent,
                   fontMetrics().horizontalAdvance(QStringLiteral("(property changed)")) + 16);
    setColumnWidth(kCount, fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
}

void EventLog::append(const QString& control, const QString& event, const QString& arguments) {
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    const int last = rowCount() - 1;
    if (last >= 0 && item(last, kControl)->text() == control &&
        item(last, kEvent)->text() == event && item(last, kArguments)->text() == arguments) {
        QTableWidgetItem* count = item(last, kCount);
        count->setText(QString::number(count->text().toLongLong() + 1));
        item(last, kTime)->setText(now);
        return;
    }
    if (rowCount() >= kMaxRows) removeRow(0);
    const int row = rowCount();
    insertRow(row);
    const QString cells[] = {now, control, event, QStringLiteral("1"), arguments};
    for (int column = 0; column < columnCount(); ++column)
        setItem(row, column, new QTableWidgetItem(cells[column]));
    item(row, kCount)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    scrollToBottom();
}

void EventLog::watch(qt::VexClockWidget* control) {
    using W = qt::VexClockWidget;
    const auto name = [control] { return control->objectName(); };
    const auto plain = [this, name](const char* event) {
        return [this, name, event] { append(name(), QString::fromLatin1(event)); };
    };
    // The log names the events as the control does.
    connect(control, &W::timeExpired, this, plain("TimeExpired"));
    connect(control, &W::clicked, this, plain("Click"));
    connect(control, &W::alert, this, plain("Alert"));
    connect(control, &W::notify, this, plain("Notify"));
    connect(control, &W::doubleClicked, this, plain("DblClick"));
    connect(control, &W::keyDown, this, [this, name](const qt::KeyEvent* e) {
        append(name(), "KeyDown", keys(e->key(), e->shift()));
    });
    connect(control, &W::keyUp, this, [this, name](const qt::KeyEvent* e) {
        append(name(), "KeyUp", keys(e->key(), e->shift()));
    });
    connect(control, &W::keyPress, this, [this, name](const qt::KeyEvent* e) {
        append(name(), "KeyPress", QStringLiteral("KeyAscii=%1").arg(e->key()));
    });
    connect(control, &W::mouseDown, this, [this, name](const qt::MouseEvent* e) {
        append(name(), "MouseDown", mouse(e->button(), e->shift(), e->x(), e->y()));
    });
    connect(control, &W::mouseUp, this, [this, name](const qt::MouseEvent* e) {
        append(name(), "MouseUp", mouse(e->button(), e->shift(), e->x(), e->y()));
    });
    connect(control, &W::mouseMove, this, [this, name](const qt::MouseEvent* e) {
        if (log_mouse_moves_)
            append(name(), "MouseMove", mouse(e->button(), e->shift(), e->x(), e->y()));
    });
    connect(control, &W::propertyChanged, this, [this, name](const QString& property) {
        append(name(), "(property changed)", property);
    });
    // In run mode the control's messages come as signals, answered as they default.
    connect(control, &W::messageRequested, this, [this, name](const qt::MessageRequest* request) {
        append(name(), "(message)", request->prompt());
    });
}

}  // namespace tickwell::demo
