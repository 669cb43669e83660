// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace tickwell::designer {

// VexClockWidget as Qt Designer sees it: its place in the widget box, its icon (the analog
// face), the header a generated form includes, and a new stopwatch for a form: in design
// mode for Designer's form editor, in user mode for QUiLoader. On initialisation it
// registers the task-menu entry that opens the property pages.
class VexClockDesignerPlugin final : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

  public:
    explicit VexClockDesignerPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

  private:
    bool initialized_ = false;
    QPointer<QDesignerFormEditorInterface> form_editor_;  // Designer's; none for QUiLoader
    QPointer<QExtensionManager> task_menu_manager_;       // the last given the task menu
};

}  // namespace tickwell::designer
