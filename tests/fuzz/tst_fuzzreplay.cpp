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
    for (const char *target : {"wql", "settings"}) {
        const QDir dir(QStringLiteral(UIS_FUZZ_CORPUS "/") + target);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            QTest::addRow("%s/%s", target, qPrintable(name)) << dir.filePath(name);
        QVERIFY2(!dir.isEmpty(), dir.path().toUtf8());
    }
}

// Guards against a crash, a broken invariant or a leak coming back on an
// input that once showed it (or that the fuzzers start from).
void tst_FuzzReplay::replay()
{
    QFETCH(QString, file);
    QFile input(file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
    const QByteArray bytes = input.readAll();
    try {
        (file.contains("/wql/") ? fuzzWql : fuzzSettings)(reinterpret_cast<const uint8_t *>(
                                                                  bytes.constData()),
                                                          size_t(bytes.size()));
    } catch (const std::logic_error &broken) {
        QFAIL(broken.what());
    }
}

QTEST_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
