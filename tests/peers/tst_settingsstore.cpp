#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/LockBudget.h"
#include "studio/peers/StoreFile.h"
#include "studio/peers/StoreLock.h"

#include <QtTest>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Q_DECLARE_METATYPE(std::string)

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

enum Fault { LockHeld, ReadOnly, ReplaceBlocked, TooLarge };

// Runs `undo` when the last copy of the result goes.
template<typename F>
std::shared_ptr<void> guard(F undo)
{
    return std::make_shared<QScopeGuard<F>>(std::move(undo));
}

#ifdef Q_OS_WIN
// Holds the file open without FILE_SHARE_DELETE, as a virus scanner may:
// it can be read, not replaced.
std::shared_ptr<void> blockReplace(const QString &path, QString *)
{
    const HANDLE file =
            CreateFileW(path.toStdWString().c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : std::shared_ptr<void>(file, CloseHandle);
}
#else
// Marks the file immutable: it can be read, not replaced.
std::shared_ptr<void> blockReplace(const QString &path, QString *why)
{
    *why = "chattr +i needs root and a file system that keeps the flag";
    if (QProcess::execute("chattr", {"+i", path}) != 0)
        return nullptr;
    return guard([path] { QProcess::execute("chattr", {"-i", path}); });
}
#endif

// Takes the write permissions off `path` while the result lives.
std::shared_ptr<void> readOnly(const QString &path)
{
    const QFile::Permissions before = QFile::permissions(path);
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup;
    QFile::setPermissions(path, before & ~(write | QFile::WriteOther));
    return guard([=] { QFile::setPermissions(path, before); });
}

// Makes `fault` at the store `path` while the result lives; null with
// `why` set where this machine cannot.
std::shared_ptr<void> makeFault(Fault fault, const QString &path, QString *why)
{
    switch (fault) {
    case LockHeld: {
        const auto lock = std::make_shared<StoreLock>(path + ".lock");
        return lock->tryLock({}, why) == StoreLock::Result::Locked ? lock : nullptr;
    }
    case ReadOnly: {
        // Windows stops a save at the file's mark, Linux at the folder's.
        const auto folder = readOnly(QFileInfo(path).path()), file = readOnly(path);
        *why = "read-only marks do not stop a replace here (root ignores them, Wine the file's)";
        return StoreFile(path).replace(fileBytes(path)) ? nullptr : guard([folder, file] {});
    }
    case ReplaceBlocked:
        return blockReplace(path, why);
    case TooLarge: { // grown since it was read, sparse where it can be
        const qint64 size = QFileInfo(path).size();
        *why = "the file system cannot hold a file of 64 MiB";
        return QFile::resize(path, StoreFile::kMaxSize + 1)
                ? guard([=] { QFile::resize(path, size); })
                : nullptr;
    }
    }
    return nullptr;
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
    void busyStoresShareOneWait();
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();

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
    QVERIFY(reopened.remove(key));
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
// against a copy made on every start (a big damaged file would fill the
// disk) and against a copy open to more users than the file: one copy per
// distinct content, byte for byte, with the file's permissions.
void tst_SettingsStore::damagedFileIsKeptOncePerContent()
{
    QFETCH(QByteArray, content);
    QTemporaryDir local;
    const QString path = local.filePath("dev_hwup.conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    for (int start = 0; start < 2; ++start) {
        FileSettingsStore store(path);
        QVERIFY(store.loadError().contains(QDir::toNativeSeparators(path)) &&
                store.storedEntries() == nullptr);
    }
    const QStringList copies = QDir(local.path()).entryList({"dev_hwup.conf.unreadable-*"});
    QCOMPARE(copies.size(), 1);
    QVERIFY(FileSettingsStore(path).loadError().contains(copies.first()));
    QCOMPARE(fileBytes(local.filePath(copies.first())), content);
    QCOMPARE(QFile::permissions(local.filePath(copies.first())), QFile::permissions(path));
    QCOMPARE(fileBytes(path), content); // reading alone changes nothing

    QVERIFY(file.open(QIODevice::Append) && file.write("\x01") == 1);
    file.close();
    QVERIFY(FileSettingsStore(path).setValue("k", "v"));
    QCOMPARE(FileSettingsStore(path).value("k", ""), std::string("v"));
    QCOMPARE(QDir(local.path()).entryList({"dev_hwup.conf.unreadable-*"}).size(), 2);
}

// Guards against two stores of one file (two studios, or a dialog left
// open while another process saves) dropping each other's keys, one
// bringing back a key the other removed, or a removal (Restore Defaults)
// missing a key the other saved since.
void tst_SettingsStore::writersMerge()
{
    const QString path = dir.filePath("shared.conf");
    FileSettingsStore a(path);
    FileSettingsStore b(path);
    QVERIFY(b.setValue("b", "2") && a.setValue("a", "1"));
    QVERIFY(a.setValue("shared", "from a") && b.setValue("shared", "from b"));
    QVERIFY(b.remove("b") && a.setValue("a", "3"));
    QVERIFY(b.setValue("late", "x") && a.remove("late"));
    const FileSettingsStore reread(path);
    const FileSettingsStore::Entries expected{{"a", "3"}, {"shared", "from b"}};
    QCOMPARE(*reread.storedEntries(), expected);
    QCOMPARE(a.entries(), expected);
}

void tst_SettingsStore::failedSaveKeepsTheFile_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason"); // "" for the system's own text
    QTest::newRow("lock held") << int(LockHeld) << "stays held by another process";
    QTest::newRow("read-only store file and folder") << int(ReadOnly) << "";
    QTest::newRow("cut off before the replace") << int(ReplaceBlocked) << "";
    QTest::newRow("grown past the size limit") << int(TooLarge) << "larger than 64 MiB";
}

// Guards against a failed save that alters the file, leaves a temporary or loses value or
// reason, and against temporaries of killed saves that no later save removes.
void tst_SettingsStore::failedSaveKeepsTheFile()
{
    QFETCH(int, fault);
    QFETCH(QString, reason);
    QTemporaryDir local;
    const QString path = local.filePath("dev_hwup.conf");
    const QByteArray old = FileSettingsStore::header() + QByteArray("\nkeep=old\n");
    QVERIFY(StoreFile(path).replace(old));
    FileSettingsStore store(path, std::chrono::milliseconds(200));
    QString why;
    std::shared_ptr<void> held = makeFault(Fault(fault), path, &why);
    if (!held)
        QSKIP(qPrintable(why));
    QVERIFY(!store.setValue("new", "n"));
    const QString prefix = QDir::toNativeSeparators(path) + ": not saved: ";
    const QString error = store.writeError();
    QVERIFY2(error.startsWith(prefix) && error.size() > prefix.size() && error.contains(reason),
             qPrintable(error));
    held.reset();
    QCOMPARE(fileBytes(path), old);
    QStringList left = QDir(local.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.removeAll("dev_hwup.conf.lock"); // Windows keeps the empty lock file
    QCOMPARE(left, QStringList("dev_hwup.conf"));
    QVERIFY(StoreFile(path + ".save-1").replace("killed")); // a killed save's leftover
    QVERIFY2(store.setValue("later", "l"), qPrintable(store.writeError()));
    QCOMPARE(FileSettingsStore(path).value("new", ""), std::string("n"));
    QCOMPARE(QDir(local.path()).entryList({"*.save-*"}, QDir::Files | QDir::Hidden | QDir::System),
             QStringList());
}

// Guards against a window that freezes while other processes hold the
// stores' locks: in one go of the event loop the saves share one wait, the
// next go has it again; batch runs (no event loop) wait per save.
void tst_SettingsStore::busyStoresShareOneWait()
{
    QTemporaryDir local;
    const auto budget = std::make_shared<LockBudget>(std::chrono::milliseconds(200));
    FileSettingsStore a(local.filePath("a.conf"), std::chrono::milliseconds(300));
    FileSettingsStore b(local.filePath("b.conf"), std::chrono::milliseconds(300));
    QString why;
    const auto heldA = makeFault(LockHeld, a.filePath(), &why);
    const auto heldB = makeFault(LockHeld, b.filePath(), &why);
    QVERIFY(heldA && heldB);
    a.setLockBudget(budget);
    b.setLockBudget(budget);
    QStringList waits;
    const auto saveAll = [&] {
        for (FileSettingsStore *store : {&a, &b, &a})
            waits << (store->setValue("k", "v") ? "saved"
                                                : store->writeError().section("after ", 1));
    };
    saveAll();
    for (int go = 0; go < 2; ++go) {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            saveAll();
            loop.quit();
        });
        loop.exec();
        QCoreApplication::processEvents();
    }
    const QStringList perSave{"300 ms)", "300 ms)", "300 ms)"}, perGo{"200 ms)", "0 ms)", "0 ms)"};
    QCOMPARE(waits, perSave + perGo + perGo);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
