// SPDX-License-Identifier: MIT
// tickwell-demo: a form of stopwatches to design and run.
//
//   tickwell-demo [--palette desktop|light|dark] [FORM]
//   tickwell-demo --screenshot FILE [--run-for SECONDS] [--faces] [--palette NAME] [FORM]
//
// With --screenshot the demo opens FORM (or the default form), switches to run mode, starts
// every stopwatch, and after SECONDS (1 by default) saves a picture of its window (with
// --faces: of its stopwatches only) to FILE and exits: 0 when the picture was saved, 1 when
// the form or the picture failed, 2 for a wrong command line. --palette sets the
// application's palette, as View > Palette does.
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include <tickwell/files/text_file.hpp>
#include <tickwell/model/version.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "demo_palette.hpp"
#include "demo_window.hpp"
#include "form_canvas.hpp"

namespace {

using tickwell::demo::DemoWindow;

constexpr double kLongestRun = 3600;

void print(const QString& line) {
    std::fprintf(stdout, "tickwell-demo: %s\n", qUtf8Printable(line));
    std::fflush(stdout);
}

int fail(const QString& message, int code = 1) {
    std::fprintf(stderr, "tickwell-demo: %s\n", qUtf8Printable(message));
    return code;
}

// The picture's format, from the file's suffix; empty when Qt cannot write it.
QByteArray picture_format(const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty()) return "png";
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

// Checked before the run, so that a wrong path fails at once rather than after the wait.
QString picture_path_problem(const QString& path) {
    if (picture_format(path).isEmpty())
        return QStringLiteral("cannot write \"%1\": no picture format for the suffix \".%2\"")
            .arg(path, QFileInfo(path).suffix());
    try {
        tickwell::headless::check_save_target(path.toStdString(), "write");
    } catch (const tickwell::headless::FileError& e) {
        return QString::fromStdString(e.what());
    }
    const QFileInfo dir(QFileInfo(path).absolutePath());
    if (!dir.isDir())
        return QStringLiteral("cannot write \"%1\": the directory \"%2\" does not exist")
            .arg(path, dir.filePath());
    if (!dir.isWritable())
        return QStringLiteral("cannot write \"%1\": the directory \"%2\" is not writable")
            .arg(path, dir.filePath());
    return {};
}

// The picture replaces the file whole, or the file is left as it was, as every save does.
bool save_picture(const QPixmap& picture, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, picture_format(path).constData())) {
        *error = QStringLiteral("cannot write \"%1\": the picture could not be encoded").arg(path);
        return false;
    }
    try {
        tickwell::headless::replace_file(
            path.toStdString(), std::string_view(bytes.constData(), bytes.size()), "write");
    } catch (const tickwell::headless::FileError& e) {
        *error = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

QString face_of(const tickwell::qt::VexClockWidget& w) {
    return w.control().face().DisplayIm(0).visible() ? QStringLiteral("digital")
                                                     : QStringLiteral("analog");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tickwell-demo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tickwell Demo"));
    QApplication::setApplicationVersion(QStringLiteral(TICKWELL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Designs and runs a form of stopwatches."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Runs every stopwatch of the form, saves a picture of the window to "
                       "FILE and exits."),
        QStringLiteral("FILE"));
    const QCommandLineOption run_for(
        QStringLiteral("run-for"),
        QStringLiteral("With --screenshot: how long the stopwatches run before the picture "
                       "(default 1)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption faces(
        QStringLiteral("faces"),
        QStringLiteral("With --screenshot: the picture shows the stopwatches only."));
    const QCommandLineOption palette(
        QStringLiteral("palette"),
        QStringLiteral("The application's palette: desktop (the default), light or dark."),
        QStringLiteral("NAME"));
    parser.addOption(screenshot);
    parser.addOption(run_for);
    parser.addOption(faces);
    parser.addOption(palette);
    parser.addPositionalArgument(
        QStringLiteral("FORM"),
        QStringLiteral("A form file to open; without one the demo shows an analog and a "
                       "digital stopwatch."),
        QStringLiteral("[FORM]"));
    parser.process(app);

    const QStringList forms = parser.positionalArguments();
    if (forms.size() > 1) return fail(QStringLiteral("give at most one FORM"), 2);
    const QString form = forms.isEmpty() ? QString() : forms.front();
    if (parser.isSet(palette)) {
        const auto chosen = tickwell::demo::palette_named(parser.value(palette));
        if (!chosen)
            return fail(QStringLiteral("--palette takes desktop, light or dark, not \"%1\"")
                            .arg(parser.value(palette)),
                        2);
        QApplication::setPalette(tickwell::demo::palette_of(*chosen));
    }

    if (!parser.isSet(screenshot)) {
        if (parser.isSet(run_for))
            return fail(QStringLiteral("--run-for is used with --screenshot"), 2);
        if (parser.isSet(faces))
            return fail(QStringLiteral("--faces is used with --screenshot"), 2);
        DemoWindow window;
        window.show();
        QString error;
        if (form.isEmpty()) {
            window.showDefaultForm();
        } else if (!window.openForm(form, &error)) {
            QMessageBox::critical(&window, QStringLiteral("Open Form"),
                                  QStringLiteral("The form could not be opened.\n\n%1").arg(error));
        }
        return QApplication::exec();
    }

    const QString picture = parser.value(screenshot);
    double seconds = 1;
    if (parser.isSet(run_for)) {
        bool ok = false;
        seconds = parser.value(run_for).toDouble(&ok);
        if (!ok || !(seconds >= 0 && seconds <= kLongestRun))
            return fail(QStringLiteral("--run-for takes a number of seconds from 0 to %1, not "
                                       "\"%2\"")
                            .arg(kLongestRun)
                            .arg(parser.value(run_for)),
                        2);
    }
    if (const QString problem = picture_path_problem(picture); !problem.isEmpty())
        return fail(problem);

    DemoWindow window;
    // The form is opened into a shown window: each control is laid out as it is placed.
    window.show();
    QString error;
    if (form.isEmpty()) {
        window.showDefaultForm();
    } else if (!window.openForm(form, &error)) {
        return fail(QStringLiteral("cannot open the form: %1").arg(error));
    }
    window.setRunMode(true);
    window.startAll();

    int result = 1;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &window, [&] {
        QRect area = window.rect();
        if (parser.isSet(faces)) {
            // The stopwatches and a margin of the form around them.
            QRect stopwatches;
            for (const tickwell::qt::VexClockWidget* w : window.canvas().controls())
                stopwatches |= QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
            area = stopwatches.adjusted(-8, -8, 8, 8) & window.rect();
            window.canvas().setSelection({});  // no selection frame in the picture
        }
        const QPixmap shot = window.grab(area);
        QString save_error;
        if (!save_picture(shot, picture, &save_error)) {
            fail(save_error);
            QApplication::exit(1);
            return;
        }
        for (const tickwell::qt::VexClockWidget* w : window.canvas().controls()) {
            const QPoint at = w->mapTo(&window, QPoint(0, 0));
            print(QStringLiteral("%1 (%2 face) at %3,%4 size %5x%6 showing %7")
                      .arg(w->objectName(), face_of(*w))
                      .arg(at.x())
                      .arg(at.y())
                      .arg(w->width())
                      .arg(w->height())
                      .arg(w->text()));
        }
        print(QStringLiteral("saved a %1x%2 picture of the %3x%4 window to %5")
                  .arg(shot.width())
                  .arg(shot.height())
                  .arg(window.width())
                  .arg(window.height())
                  .arg(QFileInfo(picture).absoluteFilePath()));
        result = 0;
        QApplication::exit(0);
    });
    QApplication::exec();
    return result;
}
