// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>

#include <tickwell/qt/vex_clock_widget.hpp>

namespace tickwell::qt {
namespace {

class DefaultMessageBoxService final : public MessageBoxService {
  public:
    MessageResult show(QWidget* parent, const QString& prompt, MessageButtons buttons,
                       MessageIcon icon) override {
        const bool question = buttons == MessageButtons::yes_no;
        // On the heap: the parent may be destroyed while the box is open (its event loop runs
        // the host's code), and it takes its children with it.
        QPointer<QMessageBox> box = new QMessageBox(
            icon == MessageIcon::question ? QMessageBox::Question : QMessageBox::Information,
            QGuiApplication::applicationDisplayName(), prompt,
            question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
        const int pressed = box->exec();
        delete box.data();
        if (!question) return MessageResult::ok;
        return pressed == QMessageBox::Yes ? MessageResult::yes : MessageResult::no;
    }
};

MessageBoxService* installed = nullptr;

}  // namespace

void set_message_box_service(MessageBoxService* service) {
    installed = service;
}

MessageBoxService& message_box_service() {
    static DefaultMessageBoxService standard;
    return installed ? *installed : standard;
}

}  // namespace tickwell::qt
