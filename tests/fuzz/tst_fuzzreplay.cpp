#include "FuzzHarness.h"

#include <QtTest>

// Replays every seed and saved finding of the fuzzers (corpus/<target>/)
// through the same targets, so a fixed finding stays fixed in every build.
class tst_FuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data();
    void replay();
};

void tst_FuzzReplay::replay_data()
{
    QTest::addColumn<QString>("file");
    QDirIterator files(UIS_FUZZ_CORPUS, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        QTest::newRow(qPrintable(files.next().mid(sizeof UIS_FUZZ_CORPUS))) << files.filePath();
}

// Guards against a crash, a broken invariant or a leak coming back on an
// input that once showed it (or that the fuzzers start from).
void tst_FuzzReplay::replay()
{
    QFETCH(QString, file);
    QFile input(file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
    const QByteArray bytes = input.readAll();
    const auto target = file.contains("/wql/") ? fuzzWql : fuzzSettings;
    try {
        target(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    } catch (const std::logic_error &broken) {
        QFAIL(broken.what());
    }
}

QTEST_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
