#include "StudioProcess.h"

#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

// Distinct colours and the share of the most common one: a blank or
// unpainted window has one colour, or nearly so.
struct ColourStats
{
    int distinct = 0;
    double dominantShare = 1.0;
};

ColourStats coloursOf(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & 0xffffff];
    }
    ColourStats stats;
    stats.distinct = counts.size();
    int most = 0;
    for (int n : counts)
        most = std::max(most, n);
    if (!image.isNull())
        stats.dominantShare = double(most) / (double(image.width()) * image.height());
    return stats;
}

} // namespace

class tst_StudioWindow : public QObject
{
    Q_OBJECT

private slots:
    void realWindowScreenshot();
};

// Guards against the dialog not reaching a real display: a window that is
// never mapped or painted, or that comes out at another size than the
// dialog renders.
void tst_StudioWindow::realWindowScreenshot()
{
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("Xvfb is not installed (Debian: xvfb xauth)");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The Device page when the plug-in is built; a test page otherwise.
    QString plugins = dir.filePath("plugins");
    QVERIFY(QDir().mkpath(plugins));
    QVERIFY(copyInto(plugins, {QFile::exists(realPlugin()) ? realPlugin() : testPlugin("good")}));
    const QStringList common{"--plugins", plugins, "--config", dir.filePath("config"), "--settings"};

    // The same dialog rendered without a display gives the expected size.
    const QString rendered = dir.filePath("offscreen.png");
    const StudioRun reference = runStudio(common + QStringList{"--screenshot", rendered});
    QCOMPARE(reference.exitCode, 0);
    const QImage expected(rendered);
    QVERIFY(!expected.isNull());

    QProcessEnvironment env = headlessEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    // Under the sanitizers, the X client libraries that Qt loads and unloads
    // again leave leaks without a module to suppress them by; the offscreen
    // runs check the studio's own memory.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
    const QString shot = dir.filePath("xvfb.png");
    const StudioRun run =
            runStudio(QStringList{"-a", "-s", "-screen 0 1280x1024x24", studioExecutable()} +
                              common + QStringList{"--screenshot", shot},
                      env, xvfbRun, 120000);
    QVERIFY2(run.finished && !run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errLines().filter("running on the offscreen platform").isEmpty(),
             run.err.constData());

    const QImage image(shot);
    QVERIFY2(!image.isNull(), qPrintable(shot));
    QCOMPARE(image.size(), expected.size());
    const ColourStats stats = coloursOf(image);
    QVERIFY2(stats.distinct >= 4, qPrintable(QString::number(stats.distinct)));
    QVERIFY2(stats.dominantShare < 0.95, qPrintable(QString::number(stats.dominantShare)));
}

QTEST_GUILESS_MAIN(tst_StudioWindow)
#include "tst_studiowindow.moc"
