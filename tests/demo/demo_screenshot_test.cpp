// SPDX-License-Identifier: MIT
// tickwell-demo as a user starts it: --screenshot under a real X server (Xvfb) shows both
// faces running in its window; wrong paths and arguments fail at once with a clear message.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct Outcome {
    int exit_code = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& arguments, bool offscreen = true) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (offscreen) {
        env.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
        env.remove("QT_QPA_PLATFORM");  // the X server's own platform, xcb
    }
    // In a sanitized build, the system libraries' own leaks under X are not the demo's.
    const QString lsan = env.value("LSAN_OPTIONS");
    env.insert("LSAN_OPTIONS", QStringLiteral("suppressions=" TICKWELL_LSAN_SUPPRESSIONS) +
                                   (lsan.isEmpty() ? QString() : ":" + lsan));
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    Outcome r;
    // No deadline of its own: the test's timeout bounds a demo that never ends.
    if (!p.waitForFinished(-1)) {
        p.kill();
        p.waitForFinished();
        r.err = "did not finish: " + p.errorString();
        return r;
    }
    r.exit_code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

const QString kDemo = QStringLiteral(TICKWELL_DEMO_PATH);

bool dark(QRgb p) {
    return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80;
}
bool light(QRgb p) {
    return qRed(p) >= 150 && qGreen(p) >= 150 && qBlue(p) >= 150;
}

struct Counts {
    int total = 0, dark = 0, light = 0;
};
Counts count(const QImage& image, const QRect& area) {
    Counts c;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            ++c.total;
            c.dark += dark(p);
            c.light += light(p);
        }
    }
    return c;
}

TEST(DemoScreenshot, UnderXShowsTheAnalogAndTheDigitalFaceRunning) {
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is missing: scripts/setup installs it";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shot = dir.filePath("demo.png");
    const Outcome r = run(xvfb, {"-a", kDemo, "--screenshot", shot, "--run-for", "2"}, false);
    ASSERT_EQ(r.exit_code, 0) << r.out.toStdString() << r.err.toStdString();

    // The demo says where each control is and how large the window is.
    const QRegularExpression control_line(
        R"(tickwell-demo: (\w+) \((analog|digital) face\) at (\d+),(\d+) size (\d+)x(\d+))"
        R"( showing (\d\d:\d\d:\d\d(\.\d\d?)?))");
    const QRegularExpression saved_line(
        R"(tickwell-demo: saved a (\d+)x(\d+) picture of the (\d+)x(\d+) window to (.+))");
    std::map<QString, QRect> faces;
    std::map<QString, QString> shown;
    for (auto it = control_line.globalMatch(r.out); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        faces[m.captured(2)] = QRect(m.captured(3).toInt(), m.captured(4).toInt(),
                                     m.captured(5).toInt(), m.captured(6).toInt());
        shown[m.captured(2)] = m.captured(7);
    }
    const QRegularExpressionMatch saved = saved_line.match(r.out);
    ASSERT_TRUE(saved.hasMatch()) << r.out.toStdString();
    ASSERT_EQ(faces.size(), 2u) << r.out.toStdString();
    EXPECT_EQ(saved.captured(5).trimmed(), shot);

    QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(saved.captured(3).toInt(), saved.captured(4).toInt()))
        << "the picture has the window's size";
    const QRect window = image.rect();

    // The analog face: a light dial with dark hands and hub on it; its centre is the hub.
    const QRect analog = faces["analog"].adjusted(4, 4, -4, -4);
    ASSERT_TRUE(window.contains(analog));
    const Counts a = count(image, analog);
    EXPECT_GT(a.light, a.total / 2) << "the dial is light";
    EXPECT_GT(a.dark, 60) << "hands and hub are dark";
    EXPECT_TRUE(dark(image.pixel(faces["analog"].center()))) << "the hub sits in the middle";

    // The digital face, in the light palette of the X server's programs: the dark lit
    // segments of six digits on light cells.
    const QRect digital = faces["digital"].adjusted(4, 4, -4, -4);
    ASSERT_TRUE(window.contains(digital));
    const Counts d = count(image, digital);
    EXPECT_GT(d.dark, 1000) << "digit segments are lit";
    EXPECT_GT(d.light, d.total / 2) << "the cells are light";

    // Each stopwatch counts for itself: both were started together, so both show the
    // seconds the window has run, and the analog second hand has left twelve o'clock.
    for (const char* face : {"analog", "digital"})
        EXPECT_TRUE(shown[face] == "00:00:01" || shown[face] == "00:00:02")
            << face << " shows " << shown[face].toStdString();
    const QPoint hub = faces["analog"].center();
    const int radius = std::min(faces["analog"].width(), faces["analog"].height()) / 2;
    bool twelve_clear = true;  // beyond the minute hand's reach, short of the hour marks
    for (int r = radius * 80 / 100; r <= radius * 88 / 100; ++r)
        twelve_clear = twelve_clear && !dark(image.pixel(hub.x(), hub.y() - r));
    EXPECT_TRUE(twelve_clear) << "the second hand has left twelve o'clock";
}

TEST(DemoScreenshot, WrongPathsAndArgumentsFailAtOnceWithAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shot = dir.filePath("shot.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.png")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("fifo.png"), dir.filePath("link.png")));
    struct Row {
        const char* what;
        QStringList arguments;
        int exit_code;
        QStringList said;
    };
    const Row rows[] = {
        {"a form that does not exist",
         {"--screenshot", shot, "--run-for", "0", dir.filePath("missing.json")},
         1,
         {"cannot open the form", "missing.json"}},
        {"a directory that does not exist",
         {"--screenshot", dir.filePath("none/shot.png"), "--run-for", "0"},
         1,
         {"cannot write", "does not exist"}},
        {"a directory in place of the file",
         {"--screenshot", dir.path(), "--run-for", "0"},
         1,
         {"cannot write", "directory"}},
        {"a FIFO in place of the file",
         {"--screenshot", dir.filePath("fifo.png"), "--run-for", "0"},
         1,
         {"cannot write", "fifo.png", "a FIFO, not a regular file"}},
        {"a link to a FIFO",
         {"--screenshot", dir.filePath("link.png"), "--run-for", "0"},
         1,
         {"cannot write", "link.png", "a FIFO, not a regular file"}},
        {"a suffix no picture format has",
         {"--screenshot", dir.filePath("shot.nopicture"), "--run-for", "0"},
         1,
         {"no picture format", ".nopicture"}},
        {"a negative time", {"--screenshot", shot, "--run-for", "-1"}, 2, {"--run-for", "-1"}},
        {"a time that is no number", {"--screenshot", shot, "--run-for", "soon"}, 2, {"soon"}},
        {"--run-for alone", {"--run-for", "1"}, 2, {"--screenshot"}},
        {"two forms", {"--screenshot", shot, "a.json", "b.json"}, 2, {"at most one FORM"}},
    };
    for (const Row& row : rows) {
        const Outcome r = run(kDemo, row.arguments);
        EXPECT_EQ(r.exit_code, row.exit_code) << row.what << ": " << r.err.toStdString();
        for (const QString& part : row.said)
            EXPECT_TRUE(r.err.contains(part))
                << row.what << ": \"" << r.err.toStdString() << "\" lacks " << part.toStdString();
        EXPECT_FALSE(QFile::exists(shot)) << row.what << ": no picture is left behind";
        EXPECT_TRUE(r.out.isEmpty()) << row.what;
    }
    struct stat fifo {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("fifo.png")).constData(), &fifo), 0);
    EXPECT_TRUE(S_ISFIFO(fifo.st_mode)) << "the FIFO is left as it was";
    EXPECT_TRUE(QFileInfo(dir.filePath("link.png")).isSymLink());
}

}  // namespace
