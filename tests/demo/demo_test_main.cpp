// SPDX-License-Identifier: MIT
// The demo's tests run widgets: one QApplication for the whole executable, on the offscreen
// platform unless the environment names another (test discovery runs without CTest's
// environment).
#include <gtest/gtest.h>

#include <QApplication>

#ifdef TICKWELL_DEMO_IN_PROCESS
#include <tickwell/qt/vex_clock_widget.hpp>

namespace {

// A message box would wait for a user that never comes: a test that makes a control show one
// fails instead, and the box is answered as its default button.
class NoMessageBoxes : public tickwell::qt::MessageBoxService {
  public:
    tickwell::MessageResult show(QWidget*, const QString& prompt, tickwell::MessageButtons buttons,
                                 tickwell::MessageIcon) override {
        ADD_FAILURE() << "unexpected message box: " << prompt.toStdString();
        return buttons == tickwell::MessageButtons::ok ? tickwell::MessageResult::ok
                                                       : tickwell::MessageResult::no;
    }
};

}  // namespace
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TICKWELL_DEMO_IN_PROCESS
    NoMessageBoxes no_message_boxes;
    tickwell::qt::set_message_box_service(&no_message_boxes);
#endif
    return RUN_ALL_TESTS();
}
