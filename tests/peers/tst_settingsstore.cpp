#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/MemorySettingsStore.h"

#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::string)

namespace {
std::string bytes(const char *data, size_t size) { return std::string(data, size); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void contract_data();
    void contract();
    void losslessAcrossRestart_data();
    void losslessAcrossRestart();
    void unreadableFileIsReportedAndKept_data();
    void unreadableFileIsReportedAndKept();
    void interruptedWritesLeaveAWholeFile();
    void failedWriteIsReported();

private:
    QTemporaryDir dir;
};

// Guards the store contract every caller relies on: default when absent,
// the written text afterwards, the default again after remove.
void tst_SettingsStore::contract_data()
{
    QTest::addColumn<bool>("persistent");
    QTest::newRow("memory") << false;
    QTest::newRow("file") << true;
}

void tst_SettingsStore::contract()
{
    QFETCH(bool, persistent);
    std::unique_ptr<SettingsStore> store;
    if (persistent)
        store = std::make_unique<FileSettingsStore>(dir.filePath("contract.conf"));
    else
        store = std::make_unique<MemorySettingsStore>();

    QCOMPARE(store->value("k", "dflt"), std::string("dflt"));
    QCOMPARE(store->value("k", std::string("d2")), std::string("d2"));
    QCOMPARE(store->value("k", nullptr), std::string());
    QVERIFY(store->setValue("k", ""));
    QCOMPARE(store->value("k", "dflt"), std::string()); // an empty value is a value
    QVERIFY(store->setValue("k", "v"));
    QCOMPARE(store->value("k", "dflt"), std::string("v"));
    QVERIFY(store->remove("k"));
    QVERIFY(!store->remove("k"));
    QCOMPARE(store->value("k", "dflt"), std::string("dflt"));
}

// Guards against any byte of a key or value being lost or changed on the
// way through the file.
void tst_SettingsStore::losslessAcrossRestart_data()
{
    QTest::addColumn<std::string>("key");
    QTest::addColumn<std::string>("value");
    QTest::newRow("plain") << std::string("settings.hwup.ip") << std::string("192.168.1.20");
    QTest::newRow("empty key and value") << std::string() << std::string();
    QTest::newRow("1 MiB value") << std::string("big") << std::string(1 << 20, 'x');
    QTest::newRow("not UTF-8") << std::string("\xff\xfe\x80") << std::string("\xc3\x28\xa0\xa1");
    QTest::newRow("NUL bytes") << bytes("a\0b", 3) << bytes("\0\0x\0", 4);
    QTest::newRow("newlines") << std::string("line\nkey\r\n") << std::string("\n\nv\r");
    QTest::newRow("separators") << std::string("a=b/c\\d[e];f#g") << std::string("=[section]\n#;=");
    QTest::newRow("blanks") << std::string("  key ") << std::string("\t value  ");
    QTest::newRow("percent escapes") << std::string("%41") << std::string("%zz%");
    QTest::newRow("header text") << std::string("# studio settings v1") << std::string("#");
}

void tst_SettingsStore::losslessAcrossRestart()
{
    QFETCH(std::string, key);
    QFETCH(std::string, value);
    const QString path =
            dir.filePath(QStringLiteral("lossless-%1.conf").arg(QTest::currentDataTag()));
    {
        FileSettingsStore store(path);
        QVERIFY(store.setValue(key, value));
        QVERIFY(store.setValue("neighbour", "n"));
    }
    FileSettingsStore reopened(path);
    QCOMPARE(reopened.loadError(), QString());
    QCOMPARE(reopened.value(key, "absent"), value);
    QCOMPARE(reopened.value("neighbour", ""), std::string("n"));
    QCOMPARE(reopened.entries().size(), size_t(key == "neighbour" ? 1 : 2));
    QVERIFY(reopened.remove(key));
    QCOMPARE(FileSettingsStore(path).value(key, "absent"), std::string("absent"));
}

// Guards against a damaged file being silently replaced: it is reported by
// name and kept byte for byte before anything is written.
void tst_SettingsStore::unreadableFileIsReportedAndKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no header") << QByteArray("a=b\n");
    QTest::newRow("binary junk") << QByteArray("\x00\x01\x02\xff", 4);
    QTest::newRow("entry without =") << QByteArray("# studio settings v1\nabc\n");
    QTest::newRow("raw unsafe byte") << QByteArray("# studio settings v1\na b=c\n");
    QTest::newRow("cut escape") << QByteArray("# studio settings v1\nkey=%4\n");
    QTest::newRow("bad escape") << QByteArray("# studio settings v1\nkey=%G1\n");
}

void tst_SettingsStore::unreadableFileIsReportedAndKept()
{
    QFETCH(QByteArray, content);
    QTemporaryDir local;
    const QString path = local.filePath("dev_hwup.conf");
    writeFile(path, content);

    FileSettingsStore store(path);
    QVERIFY(store.loadError().contains(path));
    QVERIFY(store.entries().empty());
    const QStringList copies = QDir(local.path()).entryList({"dev_hwup.conf.unreadable-*"});
    QCOMPARE(copies.size(), 1);
    QCOMPARE(fileBytes(local.filePath(copies.first())), content);
    QVERIFY(store.loadError().contains(copies.first()));
    QCOMPARE(fileBytes(path), content); // reading alone changes nothing

    QVERIFY(store.setValue("k", "v"));
    QCOMPARE(FileSettingsStore(path).value("k", ""), std::string("v"));
    QCOMPARE(fileBytes(local.filePath(copies.first())), content);
}

// Guards atomic saving: a writer killed at any moment leaves either the
// previous or the next complete file, never a torn one.
void tst_SettingsStore::interruptedWritesLeaveAWholeFile()
{
    const QString path = dir.filePath("atomic.conf");
    const std::string small(64, 'a');
    const std::string large(size_t(512) * 1024, 'b');
    FileSettingsStore(path).setValue("v", small);

    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            FileSettingsStore writer(path);
            for (int i = 0;; ++i)
                writer.setValue("v", i % 2 ? small : large);
        }
        usleep(useconds_t(2000 + round * 1500));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        FileSettingsStore reader(path);
        QCOMPARE(reader.loadError(), QString());
        const std::string v = reader.value("v", "");
        QVERIFY2(v == small || v == large, "torn value");
    }
}

// Guards against a failed save passing unnoticed.
void tst_SettingsStore::failedWriteIsReported()
{
    // A folder where the file should be: no file can be written there.
    const QString path = dir.filePath("occupied.conf");
    QVERIFY(QDir().mkpath(path));
    FileSettingsStore store(path);
    QVERIFY(!store.setValue("k", "v"));
    QVERIFY(store.writeError().contains(path));
    QCOMPARE(store.value("k", ""), std::string("v")); // the session keeps the value
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
