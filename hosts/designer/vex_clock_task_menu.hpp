// SPDX-License-Identifier: MIT
#pragma once

#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::designer {

// "Edit Stopwatch Properties…" on a stopwatch's context menu in Designer: the property pages
// dialog over that stopwatch. What the pages change is handed back to the form through
// Designer's cursor, property by property, so that the form records it and Undo takes it back.
class VexClockTaskMenu final : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

  public:
    VexClockTaskMenu(qt::VexClockWidget* widget, QObject* parent);

    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override;

    static QString actionText();

  private:
    void edit_properties();

    qt::VexClockWidget* widget_;
    QAction* edit_action_;
};

// Makes a VexClockTaskMenu for each stopwatch Designer asks about.
class VexClockTaskMenuFactory final : public QExtensionFactory {
    Q_OBJECT

  public:
    explicit VexClockTaskMenuFactory(QExtensionManager* parent = nullptr);

  protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace tickwell::designer
