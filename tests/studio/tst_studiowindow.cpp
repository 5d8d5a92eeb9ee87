#include "SettingsDialog.h"
#include "StudioProcess.h"
#include "StudioSession.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostDevice.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class tst_StudioWindow : public QObject
{
    Q_OBJECT

private slots:
    void realWindowScreenshot();
    void keyboardAndScreenReaders_data();
    void keyboardAndScreenReaders();
};

namespace {
// What a screen reader says of a control: its name, and the caption that
// labels it, if any.
QString spoken(QWidget *w)
{
    QAccessibleInterface *control = QAccessible::queryAccessibleInterface(w);
    const QString name =
            w->accessibleName().isEmpty() ? control->text(QAccessible::Name) : w->accessibleName();
    const auto labels = control->relations(QAccessible::Label);
    return labels.isEmpty() ? name : name + " ← " + labels.first().first->text(QAccessible::Name);
}
} // namespace

// Guards against the dialog not reaching a real display: a window that is
// never mapped or painted, or that comes out at another size than the
// dialog renders offscreen.
void tst_StudioWindow::realWindowScreenshot()
{
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("Xvfb is not installed (Debian: xvfb xauth)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList common{"--config", dir.filePath("config"), "--settings", "--screenshot"};

    const StudioRun offscreen = runStudio(common + QStringList{dir.filePath("offscreen.png")});
    QCOMPARE(offscreen.exitCode, 0);
    const QImage expected(dir.filePath("offscreen.png"));
    QVERIFY(!expected.isNull());

    // The X client libraries Qt loads and unloads leave leaks that no module
    // can suppress; the offscreen runs check the studio's own memory.
    const StudioRun onX =
            runStudio(common + QStringList{dir.filePath("xvfb.png")},
                      "export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"; "
                      "exec xvfb-run -a -s '-screen 0 1280x1024x24' \"$@\"");
    QVERIFY2(onX.finished, onX.err.constData());
    QCOMPARE(onX.exitCode, 0);
    QVERIFY2(onX.lines("offscreen").isEmpty(), onX.err.constData());

    const QImage image(dir.filePath("xvfb.png"));
    QCOMPARE(image.size(), expected.size());
    // A blank or unpainted window has one colour, or nearly so.
    QHash<QRgb, int> counts;
    for (int i = 0; i < image.width() * image.height(); ++i)
        ++counts[image.pixel(i % image.width(), i / image.width())];
    const int most = *std::max_element(counts.cbegin(), counts.cend());
    QVERIFY2(counts.size() >= 4, qPrintable(QString::number(counts.size())));
    QVERIFY(most < 0.95 * image.width() * image.height());
}

void tst_StudioWindow::keyboardAndScreenReaders_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<QStringList>("stops"); // Tab from the first focus round to it again

    QTest::newRow("editable") << false
                              << QStringList{"Device type: Inertial",
                                             "Network address ← Network",
                                             "Capture frame rate ← Frame Rate (Mocap Device)",
                                             "PC timecode frame rate ← Frame Rate (PC Timecode)",
                                             "Restore Defaults",
                                             "OK",
                                             "Cancel",
                                             "Apply",
                                             "Pages"};
    QTest::newRow("device active")
            << true
            << QStringList{"The device is connected, so its settings are read-only. Disconnect it "
                           "(Device menu) to change them.",
                           "OK", "Cancel", "Pages"};
}

// Guards against focus starting off the page or Tab reaching the page's
// controls after the buttons, a control a screen reader knows only by its
// value (no name, caption not its buddy), and a read-only page that says
// nothing or leaves Apply and Restore Defaults to be pressed.
void tst_StudioWindow::keyboardAndScreenReaders()
{
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("needs a real window system (Xvfb)");
    QFETCH(bool, active);
    QTemporaryDir config;
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    StudioSession session(app, config.path(), {"UNI", "hybird"});
    QVERIFY(session.loader().loadFile(REAL_PLUGIN));
    session.device().setActive(active);
    SettingsDialog dialog(session.pages()); // closed before the session ends
    dialog.setDeviceActive(active);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow(); // Xvfb has no window manager to do it
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget *first = QApplication::focusWidget();
    QVERIFY(first);
    QStringList stops;
    do {
        stops << spoken(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (QApplication::focusWidget() != first && stops.size() < 20);
    QTEST(stops, "stops");
}

// The keyboard and screen-reader checks need a real window system: off
// one, the program runs itself again under Xvfb.
int main(int argc, char *argv[])
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb" &&
        !QStandardPaths::findExecutable("xvfb-run").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        // The X client libraries leave leaks that no module can suppress.
        qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + ":detect_leaks=0");
        QStringList arguments{"-a", "-s", "-screen 0 1280x1024x24"};
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        return QProcess::execute("xvfb-run", arguments);
    }
    QApplication app(argc, argv);
    tst_StudioWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_studiowindow.moc"
