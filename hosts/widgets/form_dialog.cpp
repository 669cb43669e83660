// SPDX-License-Identifier: MIT
#include <tickwell/qt/form_dialog.hpp>

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace tickwell::qt {
namespace {

int pixels(int twips, double per_pixel) {
    return static_cast<int>(std::lround(twips / per_pixel));
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A label's box, grown where its caption needs more room in the font in use than the form
// was measured for: first to the right, as far as the client area allows (keeping the
// label's left margin on the right too), then downward with the caption wrapped.
QRect fit_caption(QLabel& label, QRect place, int client_width) {
    const int widest = std::max(place.width(), client_width - 2 * place.left());
    const int natural = label.fontMetrics().horizontalAdvance(label.text()) + 2;
    place.setWidth(std::clamp(natural, place.width(), widest));
    if (natural > place.width()) {
        label.setWordWrap(true);
        place.setHeight(std::max(place.height(), label.heightForWidth(place.width())));
    }
    return place;
}

}  // namespace

std::unique_ptr<QDialog> build_form_dialog(const Form& form, TwipsPerPixel tpp, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(text(form.name));
    dialog->setWindowTitle(text(form.caption));
    dialog->setFixedSize(pixels(form.client_width, tpp.x), pixels(form.client_height, tpp.y));
    for (const FormItem& item : form.items) {
        QWidget* widget = nullptr;
        switch (item.kind) {
            case FormItemKind::label: {
                auto* label = new QLabel(text(item.caption), dialog.get());
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
            case FormItemKind::command_button: {
                auto* button = new QPushButton(text(item.caption), dialog.get());
                if (item.closes_form) {
                    button->setDefault(true);
                    QObject::connect(button, &QPushButton::clicked, dialog.get(), &QDialog::accept);
                }
                widget = button;
                break;
            }
        }
        widget->setObjectName(text(item.name));
        if (item.font) {
            QFont font = widget->font();
            font.setFamily(text(item.font->name));
            font.setPointSizeF(item.font->points);
            font.setBold(item.font->bold);
            widget->setFont(font);
        }
        const QRect place(pixels(item.left, tpp.x), pixels(item.top, tpp.y),
                          pixels(item.width, tpp.x), pixels(item.height, tpp.y));
        if (auto* label = qobject_cast<QLabel*>(widget))
            widget->setGeometry(fit_caption(*label, place, dialog->width()));
        else
            widget->setGeometry(place);
    }
    return dialog;
}

}  // namespace tickwell::qt
