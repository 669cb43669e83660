// SPDX-License-Identifier: MIT
// Forms in files: what the demo saves opens again as it was, a changed form is known to be
// changed, and a file that cannot be opened leaves a clear message and the open form as it was.
#include "form_document.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <tickwell/files/text_file.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "demo_window.hpp"
#include "form_canvas.hpp"

namespace tickwell::demo {
namespace {

using qt::VexClockWidget;

class FormDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window.show();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static std::string text_of(const QString& file) {
        return headless::read_text_file(file.toStdString());
    }
    void write(const QString& file, const std::string& text) {
        headless::replace_file(file.toStdString(), text);
    }

    QTemporaryDir dir;
    DemoWindow window;
};

// A form with settings away from a new control's (colours, widths, mode, a moved and resized
// control) is saved, opened in a fresh window and saved again: the two files are the same
// byte for byte, and the reopened controls have the places and settings of the saved ones.
TEST_F(FormDocumentTest, ASavedFormOpensAsItWasSaved) {
    window.showDefaultForm();
    FormCanvas& form = window.canvas();
    VexClockWidget* one = form.controls()[0];
    VexClockWidget* two = form.controls()[1];
    one->control().setBorderColor(0x000000FF);
    one->control().setBackGround(0x00FFFFFF);
    one->control().setHourWidth(7);
    one->control().setClockFace(ClockFace::oval);
    two->control().setAccuracy(Accuracy::tenths);
    two->control().setClockMode(ClockMode::count_down);
    two->control().setInitialTime("0:2:30");
    two->setGeometry(two->x() + 24, two->y() + 40, two->width() + 30, two->height() + 12);
    VexClockWidget* three = form.addNewControl();
    three->control().setForeColor(0x00008000);

    QString error;
    ASSERT_TRUE(window.saveForm(path("first.json"), &error)) << error.toStdString();
    EXPECT_FALSE(window.isFormModified());
    EXPECT_EQ(window.filePath(), path("first.json"));
    const headless::FormFile saved = capture_form(form);

    DemoWindow reopened;
    reopened.show();
    ASSERT_TRUE(reopened.openForm(path("first.json"), &error)) << error.toStdString();
    EXPECT_FALSE(reopened.isFormModified());
    ASSERT_EQ(reopened.canvas().names(), form.names());
    for (qsizetype i = 0; i < form.controls().size(); ++i)
        EXPECT_EQ(reopened.canvas().controls()[i]->geometry(), form.controls()[i]->geometry())
            << form.names()[i].toStdString();
    const headless::FormFile back = capture_form(reopened.canvas());
    for (std::size_t i = 0; i < saved.controls.size(); ++i)
        EXPECT_TRUE(back.controls[i].properties.values() == saved.controls[i].properties.values())
            << saved.controls[i].name;
    ASSERT_TRUE(reopened.saveForm(path("second.json"), &error)) << error.toStdString();
    EXPECT_EQ(text_of(path("second.json")), text_of(path("first.json")));
    // Each control's own settings (those its face elements hold) survive in its own entry.
    const headless::FormControl* first = back.find("VexClock1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(to_text(*first->properties.find("BorderColor")), "255");
    EXPECT_EQ(to_text(*first->properties.find("HourWidth")), "7");
}

TEST_F(FormDocumentTest, EveryKindOfEditMarksTheFormChanged) {
    write(path("form.json"), R"({"form": 1, "controls": [{"name": "VexClock1", "properties": {}},
                                  {"name": "VexClock2", "left": 4000, "properties": {}}]})");
    QString error;
    ASSERT_TRUE(window.openForm(path("form.json"), &error)) << error.toStdString();
    ASSERT_FALSE(window.isFormModified());
    EXPECT_TRUE(window.windowTitle().startsWith("form.json"));

    VexClockWidget* one = window.canvas().find("VexClock1");
    ASSERT_NE(one, nullptr);
    one->control().setSecWidth(2);  // a property edit, as the pages make it
    EXPECT_TRUE(window.isFormModified());
    EXPECT_TRUE(window.isWindowModified());

    ASSERT_TRUE(window.saveForm(path("form.json"), &error));
    EXPECT_FALSE(window.isFormModified());
    window.canvas().addNewControl();
    EXPECT_TRUE(window.isFormModified());

    ASSERT_TRUE(window.saveForm(path("form.json"), &error));
    window.canvas().removeControls({window.canvas().find("VexClock3")});
    EXPECT_TRUE(window.isFormModified());
}

TEST_F(FormDocumentTest, APlaceInTwipsBecomesPixelsOfTheScreen) {
    write(
        path("form.json"),
        R"({"form": 1, "controls": [{"name": "Big", "left": 300, "top": 150, "width": 4500, "height": 3000,
                                       "properties": {}}]})");
    QString error;
    ASSERT_TRUE(window.openForm(path("form.json"), &error)) << error.toStdString();
    const VexClockWidget* big = window.canvas().find("Big");
    ASSERT_NE(big, nullptr);
    const TwipsPerPixel tpp = twips_per_pixel(*big);
    EXPECT_EQ(big->x(), qRound(300 / tpp.x));
    EXPECT_EQ(big->y(), qRound(150 / tpp.y));
    EXPECT_EQ(big->width(), qRound(4500 / tpp.x));
    EXPECT_EQ(big->height(), qRound(3000 / tpp.y));
}

// Files that are no form, or that a hostile hand made: each is refused with a message naming
// it (and the control and key where there is one), and the open form keeps its controls, its
// settings, its file name and its unsaved changes.
TEST_F(FormDocumentTest, AFormThatCannotBeOpenedSaysWhyAndLeavesTheOpenFormAsItWas) {
    struct Row {
        const char* what;
        QString file;
        const char* text;  // nullptr: the file is made otherwise or not at all
        std::vector<const char*> said;
    };
    const QString hostile = QStringLiteral(TICKWELL_HOSTILE_DIR);
    ASSERT_EQ(::mkfifo(path("pipe.json").toLocal8Bit().constData(), 0600), 0);
    {
        QFile huge(path("huge.json"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(qint64{100} << 20));  // sparse: no disk space taken
    }
    const std::vector<Row> rows = {
        {"a missing file", path("missing.json"), nullptr, {"missing.json"}},
        {"not JSON", path("broken.json"), "{ \"form\": 1, ", {"broken.json", "not JSON"}},
        {"a duplicate name",
         path("twice.json"),
         R"({"form": 1, "controls": [{"name": "A", "properties": {}},
                                      {"name": "A", "properties": {}}]})",
         {"twice.json", "A"}},
        {"a value its field cannot hold",
         path("overflow.json"),
         R"({"form": 1, "controls": [{"name": "Fine", "properties": {}},
                            {"name": "Late", "properties": {"Hours": 70000}}]})",
         {"overflow.json", "Late", "Hours"}},
        {"a FIFO", path("pipe.json"), nullptr, {"pipe.json", "FIFO"}},
        {"100 MB", path("huge.json"), nullptr, {"huge.json", "beyond the limit of 16 MiB"}},
        {"a device", QStringLiteral("/dev/zero"), nullptr, {"/dev/zero", "character device"}},
        {"a number beyond a double",
         hostile + "/form_number_1e400.json",
         nullptr,
         {"form_number_1e400.json", "out of range", "left"}},
        {"a version with a fraction",
         hostile + "/form_version_float.json",
         nullptr,
         {"form_version_float.json", "not a whole number"}},
        {"another class",
         hostile + "/form_unknown_class.json",
         nullptr,
         {"form_unknown_class.json", "Other.Clock"}},
        {"a key twice",
         hostile + "/form_duplicate_key.json",
         nullptr,
         {"form_duplicate_key.json", "\"Hours\" appears twice"}},
        {"a place beyond the form",
         hostile + "/form_huge_place.json",
         nullptr,
         {"form_huge_place.json", "width", "out of range"}},
        {"bad UTF-8", hostile + "/form_bad_utf8.json", nullptr, {"form_bad_utf8.json", "UTF-8"}},
    };
    window.showDefaultForm();
    QString error;
    ASSERT_TRUE(window.saveForm(path("current.json"), &error)) << error.toStdString();
    window.canvas().controls()[0]->control().setHourWidth(5);
    window.canvas().addNewControl();
    ASSERT_TRUE(window.isFormModified());
    const std::string before = headless::form_text(capture_form(window.canvas()));
    const QStringList names = window.canvas().names();
    rusage start{};
    ::getrusage(RUSAGE_SELF, &start);
    for (const Row& r : rows) {
        if (r.text) write(r.file, r.text);
        error.clear();
        EXPECT_FALSE(window.openForm(r.file, &error)) << r.what;
        for (const char* part : r.said)
            EXPECT_TRUE(error.contains(QString::fromUtf8(part)))
                << r.what << ": \"" << error.toStdString() << "\" lacks " << part;
        EXPECT_EQ(window.canvas().names(), names) << r.what;
        EXPECT_EQ(headless::form_text(capture_form(window.canvas())), before) << r.what;
        EXPECT_EQ(window.filePath(), path("current.json")) << r.what;
        EXPECT_TRUE(window.isFormModified()) << r.what;
    }
    rusage end{};
    ::getrusage(RUSAGE_SELF, &end);
    // Refusing every one of them costs next to nothing: a generous bound for a shared machine.
    EXPECT_LT(end.ru_maxrss - start.ru_maxrss, 64 * 1024) << "kB of peak memory grew";
}

TEST_F(FormDocumentTest, ASaveThatFailsKeepsTheFormChangedAndTheOldFile) {
    window.showDefaultForm();
    window.canvas().addNewControl();
    QString error;
    const QString target = path("no-such-dir/form.json");
    EXPECT_FALSE(window.saveForm(target, &error));
    EXPECT_TRUE(error.contains("form.json")) << error.toStdString();
    EXPECT_TRUE(window.isFormModified());
    EXPECT_TRUE(window.filePath().isEmpty());
}

TEST_F(FormDocumentTest, OpeningStartsTheSharedStateAfresh) {
    // Whatever the previous form left in the process-wide state, a form opens the same.
    write(path("plain.json"),
          R"({"form": 1, "controls": [{"name": "VexClock1", "properties": {}}]})");
    window.showDefaultForm();  // its second control leaves the digital face in the state
    QString error;
    ASSERT_TRUE(window.openForm(path("plain.json"), &error)) << error.toStdString();
    const VexClockWidget* only = window.canvas().controls().front();
    EXPECT_EQ(only->control().Display(), Display::analog);
    EXPECT_TRUE(only->control().face().Hand(0).visible());
}

// The form's stopwatches are independent unless the form says otherwise; the setting is
// kept in the file (absent means independent), and switching it keeps every setting.
TEST_F(FormDocumentTest, AFormSaysWhetherItsStopwatchesShareTheirState) {
    write(path("shared.json"), R"({"form": 1, "sharedState": true, "controls": [
        {"name": "A", "properties": {}}, {"name": "B", "properties": {"Display": 1}}]})");
    QString error;
    ASSERT_TRUE(window.openForm(path("shared.json"), &error)) << error.toStdString();
    const auto controls = [this] { return window.canvas().controls(); };
    EXPECT_TRUE(window.canvas().sharedState());
    // One record: the second control's read left the digital face for both.
    EXPECT_EQ(controls()[0]->control().Display(), Display::digital);
    EXPECT_TRUE(controls()[0]->sharedState());

    window.setSharedState(false);
    EXPECT_TRUE(window.isFormModified());
    EXPECT_FALSE(controls()[0]->sharedState());
    controls()[0]->control().setDisplay(Display::analog);
    EXPECT_EQ(controls()[1]->control().Display(), Display::digital);
    ASSERT_TRUE(window.saveForm(path("own.json"), &error)) << error.toStdString();
    EXPECT_EQ(text_of(path("own.json")).find("sharedState"), std::string::npos);

    window.setSharedState(true);
    ASSERT_TRUE(window.saveForm(path("again.json"), &error)) << error.toStdString();
    EXPECT_NE(text_of(path("again.json")).find("\"sharedState\": true"), std::string::npos);
}

}  // namespace
}  // namespace tickwell::demo
