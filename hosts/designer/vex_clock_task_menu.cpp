// SPDX-License-Identifier: MIT
#include "vex_clock_task_menu.hpp"

#include <QAction>
#include <QMetaProperty>
#include <QVariant>
#include <QVector>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>
#include <tickwell/qt/property_pages_dialog.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::designer {

namespace {

// The stopwatch's own writable properties (not QWidget's) and their values.
struct PropertyValue {
    QByteArray name;
    QVariant value;
};

QVector<PropertyValue> own_properties(const QObject& object) {
    QVector<PropertyValue> values;
    const QMetaObject& meta = qt::VexClockWidget::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (!property.isWritable()) continue;
        values.push_back({property.name(), property.read(&object)});
    }
    return values;
}

}  // namespace

VexClockTaskMenu::VexClockTaskMenu(qt::VexClockWidget* widget, QObject* parent)
    : QObject(parent), widget_(widget), edit_action_(new QAction(actionText(), this)) {
    connect(edit_action_, &QAction::triggered, this, &VexClockTaskMenu::edit_properties);
}

QString VexClockTaskMenu::actionText() {
    return QStringLiteral("Edit Stopwatch Properties…");
}

QAction* VexClockTaskMenu::preferredEditAction() const {
    return edit_action_;
}

QList<QAction*> VexClockTaskMenu::taskActions() const {
    return {edit_action_};
}

void VexClockTaskMenu::edit_properties() {
    const QVector<PropertyValue> before = own_properties(*widget_);
    qt::PropertyPagesDialog dialog({widget_}, widget_->window());
    dialog.exec();
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget_);
    if (form == nullptr) return;  // not on a form: the pages changed the widget itself

    // The changed properties go back to their old values and are set again through the
    // form's cursor, which marks them changed in the property editor and makes each one an
    // undoable step. The user has answered the pages' questions already: setting the same
    // values again must not ask them twice.
    const auto policy = widget_->messagePolicy();
    widget_->setMessagePolicy(qt::VexClockWidget::SignalMessages);
    const QVector<PropertyValue> after = own_properties(*widget_);
    QVector<qsizetype> changed;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (after[i].name != "messagePolicy" && after[i].value != before[i].value)
            changed.push_back(i);
    }
    for (auto i = changed.rbegin(); i != changed.rend(); ++i) {
        widget_->setProperty(before[*i].name.constData(), before[*i].value);
    }
    for (const qsizetype i : changed) {
        form->cursor()->setWidgetProperty(widget_, QString::fromLatin1(after[i].name),
                                          after[i].value);
    }
    widget_->setMessagePolicy(policy);
}

VexClockTaskMenuFactory::VexClockTaskMenuFactory(QExtensionManager* parent)
    : QExtensionFactory(parent) {}

QObject* VexClockTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                                  QObject* parent) const {
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
    if (auto* widget = qobject_cast<qt::VexClockWidget*>(object)) {
        return new VexClockTaskMenu(widget, parent);
    }
    return nullptr;
}

}  // namespace tickwell::designer
