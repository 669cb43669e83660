// SPDX-License-Identifier: MIT
#include "vex_clock_designer_plugin.hpp"

#include <QIcon>
#include <QPixmap>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <tickwell/model/new_control.hpp>
#include <tickwell/platform/paint_geometry.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

#include "vex_clock_task_menu.hpp"

namespace tickwell::designer {

namespace {

// The widget box shows 22-pixel icons and larger ones in icon view: one drawing at 64 pixels
// scales down cleanly.
constexpr int kIconSize = 64;

// The analog face as it reads at ten past ten, the way clocks are shown, counting down so that
// the hands stand still at the start.
QPixmap analog_face_picture() {
    qt::VexClockWidget face;
    face.setProperty("clockMode", QStringLiteral("CountDown"));
    face.setProperty("initialTime", QStringLiteral("50:10:37"));
    face.resize(kIconSize, kIconSize);
    return face.grab();
}

}  // namespace

VexClockDesignerPlugin::VexClockDesignerPlugin(QObject* parent) : QObject(parent) {}

QString VexClockDesignerPlugin::name() const {
    return QStringLiteral("tickwell::qt::VexClockWidget");
}

QString VexClockDesignerPlugin::group() const {
    return QStringLiteral("Tickwell");
}

QString VexClockDesignerPlugin::toolTip() const {
    return QStringLiteral(
        "Stopwatch: counts up, or down from a start time, on an analog or a "
        "digital face");
}

QString VexClockDesignerPlugin::whatsThis() const {
    return QStringLiteral(
        "A stopwatch that counts up, or down from an hh:mm:ss start, on an "
        "analog face or a seven-segment digital face with optional tenths and "
        "hundredths. Right-click it for its property pages.");
}

QString VexClockDesignerPlugin::includeFile() const {
    return QStringLiteral("tickwell/qt/vex_clock_widget.hpp");
}

QIcon VexClockDesignerPlugin::icon() const {
    return QIcon(analog_face_picture());
}

// Designer initialises its plugins with its form editor; QUiLoader builds a running
// program's form through the same plugin without one.
QWidget* VexClockDesignerPlugin::createWidget(QWidget* parent) {
    auto* watch = new qt::VexClockWidget(parent);
    if (form_editor_) watch->setUserMode(false);
    return watch;
}

// A plugin outlives the form editors that initialise it (an IDE may make its form editor
// again), so each new editor's extension manager is given the task menu too.
void VexClockDesignerPlugin::initialize(QDesignerFormEditorInterface* core) {
    initialized_ = true;
    if (core == nullptr) return;
    form_editor_ = core;
    QExtensionManager* manager = core->extensionManager();
    if (manager == nullptr || manager == task_menu_manager_) return;
    manager->registerExtensions(new VexClockTaskMenuFactory(manager),
                                Q_TYPEID(QDesignerTaskMenuExtension));
    task_menu_manager_ = manager;
}

// A new stopwatch's size, in the pixels of a screen of 96 dots per inch (15 twips a pixel).
QString VexClockDesignerPlugin::domXml() const {
    const PixelSize size = surface_size(kNewControlWidth, kNewControlHeight, {15, 15});
    return QStringLiteral(
               "<ui language=\"c++\">\n"
               " <widget class=\"tickwell::qt::VexClockWidget\" name=\"vexClock\">\n"
               "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%1</width>"
               "<height>%2</height></rect></property>\n"
               "  <property name=\"toolTip\"><string>Stopwatch</string></property>\n"
               " </widget>\n"
               "</ui>\n")
        .arg(size.width)
        .arg(size.height);
}

}  // namespace tickwell::designer
