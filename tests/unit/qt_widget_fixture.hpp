// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QWindow>
#include <memory>
#include <vector>

#include <tickwell/model/clock_state.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::testing {

// One QApplication for the whole test program, on the offscreen platform unless the
// environment names another.
class QtApplicationEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        QApplication::setApplicationDisplayName(QStringLiteral("Tickwell tests"));
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[9] = "qt_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

// Shows a top-level widget and has it exposed, as the offscreen platform does while it shows
// it: no waiting.
[[nodiscard]] inline bool show_exposed(QWidget& widget) {
    widget.show();
    QCoreApplication::processEvents();
    return widget.windowHandle() && widget.windowHandle()->isExposed();
}

// A message box as the widgets asked for it.
struct ShownBox {
    QWidget* parent;
    QString prompt;
    MessageButtons buttons;
    MessageIcon icon;
};

// Answers every box at once, Yes (or `answer`) to questions, and keeps what was shown.
class RecordingMessageBoxes final : public qt::MessageBoxService {
  public:
    MessageResult show(QWidget* parent, const QString& prompt, MessageButtons buttons,
                       MessageIcon icon) override {
        shown.push_back({parent, prompt, buttons, icon});
        return buttons == MessageButtons::yes_no ? answer : MessageResult::ok;
    }
    QStringList prompts() const {
        QStringList list;
        for (const ShownBox& b : shown)
            list << b.prompt;
        return list;
    }

    std::vector<ShownBox> shown;
    MessageResult answer = MessageResult::yes;
};

// A fresh process-wide state and the recording message-box service for every test.
class QtWidgetTest : public ::testing::Test {
  protected:
    QtWidgetTest() {
        Clock::reset_state();
        qt::set_message_box_service(&boxes);
    }
    ~QtWidgetTest() override { qt::set_message_box_service(nullptr); }

    RecordingMessageBoxes boxes;
};

}  // namespace tickwell::testing

// Texts in test failures as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
