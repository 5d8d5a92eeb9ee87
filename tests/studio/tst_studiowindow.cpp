#include "StudioProcess.h"

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
};

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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    int most = 0;
    for (int n : qAsConst(counts))
        most = qMax(most, n);
    QVERIFY2(counts.size() >= 4, qPrintable(QString::number(counts.size())));
    QVERIFY(most < 0.95 * image.width() * image.height());
}

QTEST_GUILESS_MAIN(tst_StudioWindow)
#include "tst_studiowindow.moc"
