#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include <QtTest>

#include <functional>

namespace {
using Target = std::function<int(const uint8_t *, size_t)>;
const std::pair<const char *, Target> kTargets[] = {
#ifdef UIS_FUZZ_WQL
        {"wql", fuzzWql},
#endif
#ifdef UIS_FUZZ_SETTINGS
        {"settings", fuzzSettings},
#endif
        {"store", fuzzStore}};
} // namespace

// Replays every seed and every saved finding of the fuzzers (the files in
// corpus/<target>/) through the same targets, so a fixed finding stays fixed
// in the ordinary build.
class tst_FuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data();
    void replay();
};

void tst_FuzzReplay::replay_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    int seeds = 0;
    for (int t = 0; t < int(std::size(kTargets)); ++t) {
        const QDir dir(QStringLiteral(UIS_FUZZ_CORPUS "/") + kTargets[t].first);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(kTargets[t].first, name)))
                    << t << dir.filePath(name);
            ++seeds;
        }
    }
    QVERIFY2(seeds > 0, "no seed files found under " UIS_FUZZ_CORPUS);
}

// Guards against a crash, a broken invariant or a leak coming back on an
// input that once showed it (or that the fuzzers start from).
void tst_FuzzReplay::replay()
{
    QFETCH(int, target);
    QFETCH(QString, file);
    QFile input(file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
    const QByteArray bytes = input.readAll();

    QStringList broken;
    fuzzcheck::setHandler(
            [&](const std::string &message) { broken << QString::fromStdString(message); });
    kTargets[target].second(reinterpret_cast<const uint8_t *>(bytes.constData()),
                            size_t(bytes.size()));
    fuzzcheck::setHandler({});
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
