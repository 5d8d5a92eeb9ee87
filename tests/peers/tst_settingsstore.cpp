#include "studio/peers/FileSettingsStore.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::string)

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void losslessAcrossRestart_data();
    void losslessAcrossRestart();
    void damagedFileIsKeptOncePerContent_data();
    void damagedFileIsKeptOncePerContent();
    void writersMerge();

private:
    QTemporaryDir dir;
};

void tst_SettingsStore::losslessAcrossRestart_data()
{
    QTest::addColumn<std::string>("key");
    QTest::addColumn<std::string>("value");
    QTest::newRow("plain") << std::string("settings.hwup.ip") << std::string("192.168.1.20");
    QTest::newRow("empty key and value") << std::string() << std::string();
    QTest::newRow("1 MiB value") << std::string("big") << std::string(1 << 20, 'x');
    QTest::newRow("not UTF-8") << std::string("\xff\xfe\x80") << std::string("\xc3\x28\xa0\xa1");
    QTest::newRow("NUL bytes") << std::string("a\0b", 3) << std::string("\0\0x\0", 4);
    QTest::newRow("newlines") << std::string("line\nkey\r\n") << std::string("\n\nv\r");
    QTest::newRow("separators") << std::string("a=b/c\\d[e];f#g") << std::string("=[section]\n#;=");
    QTest::newRow("percent escapes") << std::string("%41") << std::string("%zz%");
    QTest::newRow("header text") << std::string("# studio settings v1") << std::string("#");
}

// Guards the store contract (default when absent, the written bytes after
// a restart, the default again after remove) for any byte of a key or value.
void tst_SettingsStore::losslessAcrossRestart()
{
    QFETCH(std::string, key);
    QFETCH(std::string, value);
    const QString path = dir.filePath(QString("lossless-%1.conf").arg(QTest::currentDataTag()));
    {
        FileSettingsStore store(path);
        QCOMPARE(store.value(key, nullptr), std::string());
        QVERIFY(store.setValue(key, value) && store.setValue("neighbour", "n"));
    }
    FileSettingsStore reopened(path);
    QCOMPARE(reopened.loadError(), QString());
    QCOMPARE(reopened.value(key, "absent"), value);
    QCOMPARE(reopened.storedEntries()->size(), size_t(2));
    QVERIFY(reopened.remove(key) && !reopened.remove(key));
    QCOMPARE(FileSettingsStore(path).value(key, std::string("absent")), std::string("absent"));
}

void tst_SettingsStore::damagedFileIsKeptOncePerContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no header") << QByteArray("a=b\n");
    QTest::newRow("binary junk") << QByteArray("\x00\x01\x02\xff", 4);
    QTest::newRow("entry without =") << QByteArray("# studio settings v1\nabc\n");
    QTest::newRow("raw unsafe byte") << QByteArray("# studio settings v1\na b=c\n");
    QTest::newRow("cut escape") << QByteArray("# studio settings v1\nkey=%4\n");
}

// Guards against a damaged file being silently replaced or read as empty,
// and against a copy made on every start (a big damaged file would fill
// the disk): one copy per distinct content, byte for byte.
void tst_SettingsStore::damagedFileIsKeptOncePerContent()
{
    QFETCH(QByteArray, content);
    QTemporaryDir local;
    const QString path = local.filePath("dev_hwup.conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    for (int start = 0; start < 2; ++start) {
        FileSettingsStore store(path);
        QVERIFY(store.loadError().contains(path) && store.storedEntries() == nullptr);
    }
    const QStringList copies = QDir(local.path()).entryList({"dev_hwup.conf.unreadable-*"});
    QCOMPARE(copies.size(), 1);
    QVERIFY(FileSettingsStore(path).loadError().contains(copies.first()));
    QCOMPARE(fileBytes(local.filePath(copies.first())), content);
    QCOMPARE(fileBytes(path), content); // reading alone changes nothing

    QVERIFY(file.open(QIODevice::Append) && file.write("\x01") == 1);
    file.close();
    QVERIFY(FileSettingsStore(path).setValue("k", "v"));
    QCOMPARE(FileSettingsStore(path).value("k", ""), std::string("v"));
    QCOMPARE(QDir(local.path()).entryList({"dev_hwup.conf.unreadable-*"}).size(), 2);
}

// Guards against two stores of one file (two studios, or a dialog left
// open while another process saves) dropping each other's keys, or one
// bringing back a key the other removed.
void tst_SettingsStore::writersMerge()
{
    const QString path = dir.filePath("shared.conf");
    FileSettingsStore a(path);
    FileSettingsStore b(path);
    QVERIFY(b.setValue("b", "2") && a.setValue("a", "1"));
    QVERIFY(a.setValue("shared", "from a") && b.setValue("shared", "from b"));
    QVERIFY(b.remove("b") && a.setValue("a", "3"));
    const FileSettingsStore reread(path);
    const FileSettingsStore::Entries expected{{"a", "3"}, {"shared", "from b"}};
    QCOMPARE(*reread.storedEntries(), expected);
    QCOMPARE(a.entries(), expected);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
