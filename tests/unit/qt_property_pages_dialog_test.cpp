// SPDX-License-Identifier: MIT
// The property pages dialog: tabs built from the pages' descriptions, shown and applied to
// the first selected stopwatch only, with its checks, errors and pending applies.
#include <tickwell/qt/property_pages_dialog.hpp>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <tickwell/qt/color_page.hpp>
#include <tickwell/qt/control_page.hpp>
#include <tickwell/qt/picture_page.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "qt_widget_fixture.hpp"

namespace tickwell::testing {
namespace {

using qt::PropertyPagesDialog;
using qt::VexClockWidget;

class PagesDialogTest : public QtWidgetTest {
  protected:
    // Stopwatches on a designer's form, where the pages are used.
    PagesDialogTest()
        : first(std::make_unique<VexClockWidget>()), second(std::make_unique<VexClockWidget>()) {
        first->setUserMode(false);
        second->setUserMode(false);
    }

    std::unique_ptr<PropertyPagesDialog> open() {
        return std::make_unique<PropertyPagesDialog>(
            QList<VexClockWidget*>{first.get(), second.get()});
    }
    static QLineEdit* edit(QDialog& d, const char* name) {
        auto* e = d.findChild<QLineEdit*>(name);
        EXPECT_TRUE(e) << name;
        return e;
    }
    static QPushButton* button(QDialog& d, QDialogButtonBox::StandardButton which) {
        return d.findChild<QDialogButtonBox*>()->button(which);
    }
    template <typename Page>
    static Page* page(QDialog& d) {
        auto* p = d.findChild<Page*>();
        EXPECT_TRUE(p);
        return p;
    }

    std::unique_ptr<VexClockWidget> first;
    std::unique_ptr<VexClockWidget> second;
};

// The tab key runs through the General page's fields in the order the page gives them.
TEST_F(PagesDialogTest, FocusRunsThroughAPagesFieldsInItsOwnOrder) {
    const auto d = open();
    EXPECT_EQ(d->findChild<QTabWidget*>()->count(), 5);
    QStringList order;
    for (QWidget* w = edit(*d, "txtInitialTime"); order.size() < 5; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
    EXPECT_EQ(order, (QStringList{"txtInitialTime", "txtAlertTime", "DisplayLi", "ModeLi",
                                  "chkIgnoreDisplay"}));
}

// Filling, the start time rewritten in its normal form and Cancel are no edits; Apply
// writes the first control only.
TEST_F(PagesDialogTest, ShowsTheFirstControlAndAppliesToItOnly) {
    first->setSecondHandWidth(4);
    const auto d = open();
    QLineEdit* sec_width = edit(*d, "txtSecWidth");
    EXPECT_EQ(sec_width->text(), QStringLiteral("4"));
    EXPECT_FALSE(button(*d, QDialogButtonBox::Apply)->isEnabled()) << "filling is no edit";

    sec_width->setText(QStringLiteral("6"));
    edit(*d, "txtInitialTime")->setText(QStringLiteral("1:2:3"));
    d->findChild<QComboBox*>("DisplayLi")->setCurrentIndex(1);
    EXPECT_TRUE(button(*d, QDialogButtonBox::Apply)->isEnabled());
    button(*d, QDialogButtonBox::Apply)->click();
    EXPECT_EQ(first->control().SecWidth(), 6);
    EXPECT_EQ(first->control().InitialTime(), "01:02:03");
    EXPECT_EQ(first->control().Display(), Display::digital);
    EXPECT_EQ(edit(*d, "txtInitialTime")->text(), QStringLiteral("01:02:03"));
    EXPECT_EQ(second->control().SecWidth(), 1);
    EXPECT_FALSE(button(*d, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());

    sec_width->setText(QStringLiteral("9"));
    button(*d, QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_EQ(first->control().SecWidth(), 6) << "Cancel applies nothing";
}

TEST_F(PagesDialogTest, RefusedAlertPeriodKeepsTheFocusAndTheApplyPending) {
    const auto d = open();
    d->show();
    edit(*d, "txtAlertTime")->setText(QStringLiteral("-5"));
    d->findChild<QCheckBox*>("chkIgnoreDisplay")->setChecked(true);
    d->findChild<QTabWidget*>()->setCurrentIndex(2);  // looking at another page
    button(*d, QDialogButtonBox::Ok)->click();

    EXPECT_EQ(boxes.prompts(), QStringList{"Invalid property value."});
    EXPECT_TRUE(d->isVisible()) << "OK closes only when everything applied";
    EXPECT_EQ(d->findChild<QTabWidget*>()->currentIndex(), 0);
    EXPECT_EQ(d->focusWidget(), edit(*d, "txtAlertTime"));
    EXPECT_TRUE(button(*d, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_TRUE(first->control().IgnoreDisplay()) << "written before the check";
    EXPECT_EQ(first->control().AlertTime(), 0);
}

TEST_F(PagesDialogTest, ErrorThatEndsAnApplyNamesThePropertyAndLeavesItPending) {
    const auto d = open();
    edit(*d, "txtHundreds")->setText(QStringLiteral("4"));
    edit(*d, "txtTens")->setText(QString());
    edit(*d, "txtSeconds")->setText(QStringLiteral("9"));
    EXPECT_FALSE(d->apply());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].prompt.startsWith(QStringLiteral("Could not apply Tens: ")))
        << boxes.shown[0].prompt.toStdString();
    EXPECT_EQ(boxes.shown[0].parent, d.get());
    EXPECT_EQ(first->control().Hundreds(), 4) << "written before the failing field";
    EXPECT_EQ(first->control().Seconds(), 0) << "after it: not written";
    EXPECT_TRUE(button(*d, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_EQ(d->findChild<QTabWidget*>()->currentWidget()->objectName(),
              QStringLiteral("Behaviour"));

    edit(*d, "txtTens")->setText(QStringLiteral("2"));
    EXPECT_TRUE(d->apply());
    EXPECT_EQ(first->control().Tens(), 2);
    EXPECT_EQ(first->control().Seconds(), 9);
}

TEST_F(PagesDialogTest, ColourPageSetsSystemColoursByNameAndOtherColours) {
    const std::uint32_t second_hands = second->control().ForeColor();
    const auto d = open();
    auto* colours = page<qt::ColorPage>(*d);
    ASSERT_TRUE(colours);
    auto* system = colours->findChild<QComboBox*>("SystemColor");
    ASSERT_TRUE(system);
    // BackGround starts as the button face, a system colour: the list shows it.
    colours->select_property(2);
    EXPECT_EQ(system->currentIndex(), 15);

    colours->select_property(1);  // ForeColor
    colours->choose_system_color(13);
    colours->select_property(2);  // BackGround
    colours->choose_color(QColor(255, 128, 0));
    EXPECT_EQ(system->currentIndex(), -1) << "an ordinary colour is no system colour";
    button(*d, QDialogButtonBox::Ok)->click();

    EXPECT_EQ(first->control().ForeColor(), 0x8000000Du);
    EXPECT_EQ(first->control().BackGround(), 0x000080FFu);
    EXPECT_EQ(second->control().ForeColor(), second_hands) << "the first selected only";
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(PagesDialogTest, PicturePageLoadsAFileAndClears) {
    QTemporaryDir dir;
    const QString icon = dir.filePath(QStringLiteral("pointer.png"));
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(icon));

    const auto d = open();
    auto* pictures = page<qt::PicturePage>(*d);
    ASSERT_TRUE(pictures);
    ASSERT_TRUE(pictures->load_file(icon));
    EXPECT_TRUE(d->apply());
    ASSERT_TRUE(first->control().MouseIcon());
    EXPECT_EQ(first->control().MouseIcon()->pixel_width(), 16);
    EXPECT_FALSE(second->control().MouseIcon());

    pictures->findChild<QPushButton*>("ClearPicture")->click();
    EXPECT_TRUE(d->apply());
    EXPECT_FALSE(first->control().MouseIcon());
}

// A file that is no picture, a FIFO, a device and a picture too large to decode are refused at
// once with a message that names the file; the page keeps the picture it shows.
TEST_F(PagesDialogTest, PicturePageRefusesWhatIsNoPictureOrMadeToHangOrExhaustIt) {
    QTemporaryDir dir;
    const QString not_a_picture = dir.filePath(QStringLiteral("notes.png"));
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.png"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString huge = dir.filePath(QStringLiteral("huge.png"));
    {
        // The header of a PNG of 5600 x 5600 pixels: 33 bytes that would decode to 125 MB.
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray header("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (const quint32 side : {5600u, 5600u})
            for (const int shift : {24, 16, 8, 0})
                header.append(static_cast<char>((side >> shift) & 0xFF));
        header.append("\x08\x06\0\0\0\0\0\0\0", 9);
        f.write(header);
        QFile notes(not_a_picture);
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("not a picture");
    }
    const auto d = open();
    auto* pictures = page<qt::PicturePage>(*d);
    ASSERT_TRUE(pictures);
    const struct {
        QString file;
        const char* says;
    } rows[] = {
        {not_a_picture, "holds no picture"},
        {fifo, "a FIFO, not a regular file"},
        {zero, "a character device, not a regular file"},
        {huge, "5600 x 5600 pixels, more than the limit of 16777216"},
    };
    for (const auto& row : rows) {
        boxes.shown.clear();
        EXPECT_FALSE(pictures->load_file(row.file)) << row.file.toStdString();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].prompt.contains(row.file))
            << boxes.shown[0].prompt.toStdString();
        EXPECT_TRUE(boxes.shown[0].prompt.contains(QString::fromUtf8(row.says)))
            << boxes.shown[0].prompt.toStdString();
    }
    EXPECT_FALSE(button(*d, QDialogButtonBox::Apply)->isEnabled());
}

TEST_F(PagesDialogTest, AccuracyQuestionComesAfterTheTimeFields) {
    first->setDisplay(VexClockWidget::Digital);
    const auto d = open();
    edit(*d, "txtMinutes")->setText(QStringLiteral("75"));
    d->findChild<QComboBox*>("AccuracyLi")->setCurrentIndex(2);
    EXPECT_TRUE(d->apply());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].prompt, QStringLiteral("Invalid property value."));
    EXPECT_EQ(boxes.shown[1].buttons, MessageButtons::yes_no);
    EXPECT_EQ(first->control().Accuracy(), Accuracy::hundredths);
}

}  // namespace
}  // namespace tickwell::testing
