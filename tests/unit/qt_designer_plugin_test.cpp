// SPDX-License-Identifier: MIT
// The Qt Designer plugin as Designer and QUiLoader use it: loaded from its file, describing
// the widget, building forms from .ui text, and opening the property pages from the task menu.
#include <QAction>
#include <QBuffer>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPluginLoader>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QtUiTools/QUiLoader>
#include <memory>
#include <tickwell/qt/property_pages_dialog.hpp>

#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::VexClockWidget;

// A form editor core with an extension manager, as Designer hands one to a plugin.
class FormEditorCore final : public QDesignerFormEditorInterface {
  public:
    FormEditorCore() { setExtensionManager(&manager); }
    QExtensionManager manager;
};

class DesignerPluginTest : public QtWidgetTest {
  protected:
    void SetUp() override {
        loader.setFileName(QStringLiteral(TICKWELL_DESIGNER_PLUGIN_FILE));
        ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
        plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
        ASSERT_NE(plugin, nullptr) << "the plugin offers no custom widget";
    }

    QPluginLoader loader;
    QDesignerCustomWidgetInterface* plugin = nullptr;
};

TEST_F(DesignerPluginTest, DescribesTheStopwatchForTheWidgetBox) {
    EXPECT_EQ(plugin->name(), "tickwell::qt::VexClockWidget");
    EXPECT_EQ(plugin->group(), "Tickwell");
    EXPECT_EQ(plugin->includeFile(), "tickwell/qt/vex_clock_widget.hpp");
    EXPECT_TRUE(plugin->domXml().contains("class=\"tickwell::qt::VexClockWidget\""));

    QWidget parent;
    QWidget* made = plugin->createWidget(&parent);
    ASSERT_NE(qobject_cast<VexClockWidget*>(made), nullptr);
    EXPECT_EQ(made->parent(), &parent);
    EXPECT_TRUE(made->property("userMode").toBool()) << "without Designer: a running program";

    // Designer's form editor places stopwatches in design mode.
    FormEditorCore core;
    plugin->initialize(&core);
    const std::unique_ptr<QWidget> placed(plugin->createWidget(nullptr));
    EXPECT_FALSE(placed->property("userMode").toBool()) << "a placed stopwatch is in design mode";
}

TEST_F(DesignerPluginTest, UiLoaderBuildsAFormWithTheStopwatchAsTheUiSetIt) {
    QUiLoader ui_loader;
    ui_loader.addPluginPath(QStringLiteral(TICKWELL_DESIGNER_PLUGIN_DIR));
    ASSERT_TRUE(ui_loader.availableWidgets().contains("tickwell::qt::VexClockWidget"));

    QByteArray ui = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="tickwell::qt::VexClockWidget" name="lapWatch">
   <property name="geometry"><rect><x>0</x><y>0</y><width>240</width><height>100</height></rect></property>
   <property name="display"><enum>tickwell::qt::VexClockWidget::Digital</enum></property>
   <property name="clockMode"><enum>VexClockWidget::CountDown</enum></property>
   <property name="initialTime"><string>00:01:30</string></property>
   <property name="foregroundColor"><color><red>200</red><green>30</green><blue>40</blue></color></property>
  </widget>
 </widget>
</ui>)";
    QBuffer buffer(&ui);
    const std::unique_ptr<QWidget> form(ui_loader.load(&buffer));
    ASSERT_TRUE(form) << ui_loader.errorString().toStdString();
    auto* watch = form->findChild<VexClockWidget*>("lapWatch");
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(watch->property("display").toInt(), VexClockWidget::Digital);
    EXPECT_EQ(watch->property("clockMode").toInt(), VexClockWidget::CountDown);
    EXPECT_EQ(watch->property("foregroundColor").value<QColor>(), QColor(200, 30, 40));
    EXPECT_TRUE(watch->userMode()) << "a form loaded by a running program";
    EXPECT_EQ(watch->text(), "00:01:30");
    EXPECT_TRUE(boxes.shown.empty());
}

// The plugin outlives a form editor: the next one it is given offers the task menu too.
TEST_F(DesignerPluginTest, TaskMenuEntryOpensThePropertyPagesOnTheStopwatch) {
    {
        FormEditorCore earlier;
        plugin->initialize(&earlier);
    }
    FormEditorCore core;
    plugin->initialize(&core);
    ASSERT_TRUE(plugin->isInitialized());

    VexClockWidget watch;
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(&core.manager, &watch);
    ASSERT_NE(menu, nullptr) << "no task menu for the stopwatch";
    const QList<QAction*> actions = menu->taskActions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Edit Stopwatch Properties…"));
    EXPECT_EQ(menu->preferredEditAction(), actions[0]);
    QWidget other;
    EXPECT_EQ(qt_extension<QDesignerTaskMenuExtension*>(&core.manager, &other), nullptr);

    // The pages open modal over the stopwatch; a new start time entered there is applied.
    int tabs = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<qt::PropertyPagesDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        tabs = dialog->findChild<QTabWidget*>()->count();
        dialog->findChild<QLineEdit*>("txtInitialTime")->setText("00:05:00");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    actions[0]->trigger();
    EXPECT_EQ(tabs, 5);
    EXPECT_EQ(watch.property("initialTime").toString(), "00:05:00");
}

}  // namespace
}  // namespace tickwell::testing
