#include "StudioProcess.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QByteArray kOldStore = "# studio settings v1\nkeep=old\n";

// What lies at `path`, byte for byte: the kind of node, a link's target
// and the bytes of a regular file or of what a link points to.
QByteArray snapshot(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "<nothing>";
    const QByteArray kind = QByteArray::number(info.st_mode & S_IFMT, 8);
    if (S_ISLNK(info.st_mode))
        return kind + QFile::symLinkTarget(path).toUtf8() + snapshot(QFile::symLinkTarget(path));
    return S_ISREG(info.st_mode) ? kind + readFile(path)
                                 : kind + QByteArray::number(qulonglong(info.st_rdev));
}

} // namespace

class tst_StoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storeFaults_data();
    void storeFaults();
    void concurrentStudiosKeepEveryKey();

private:
    QString m_noMounts; // why no tmpfs can be mounted here, or ""
};

void tst_StoreFaults::initTestCase()
{
    // A mount namespace of this process alone, so the small tmpfs that the
    // full-disk cases fill is seen by it and its children, nobody else.
    if (::geteuid() != 0)
        m_noMounts = "mounting a small tmpfs needs root (the CI runs the suite as root)";
    else if (::unshare(CLONE_NEWNS) != 0 ||
             ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        m_noMounts = QString("no private mount namespace: %1").arg(strerror(errno));
}

void tst_StoreFaults::storeFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("reason");

    const QString plain = "exec \"$@\"";
    // clang-format off
    QTest::newRow("symbolic link to a file") << "link" << plain << "a symbolic link, not a regular file";
    QTest::newRow("symbolic link to a device") << "link to device" << plain << "a symbolic link, not a regular file";
    QTest::newRow("FIFO") << "fifo" << plain << "a FIFO, not a regular file";
    QTest::newRow("device node") << "device" << plain << "a device, not a regular file";
    QTest::newRow("folder") << "folder" << plain << "a folder, not a regular file";
    QTest::newRow("full disk") << "tmpfs 0" << plain << "No space left on device";
    QTest::newRow("full disk, a little room left") << "tmpfs 8" << plain << "No space left on device";
    QTest::newRow("file-size limit") << "file" << "ulimit -f 8; exec \"$@\"" << "File too large";
    // clang-format on
}

// Guards against losing stored values to a real machine's faults: the
// thing in the store's place must stay exactly as it was (never followed,
// replaced or opened so that the studio blocks), the run must end with
// exit status 1 and every line about the store must say why, and --dump
// must not show the unsaved value as stored.
void tst_StoreFaults::storeFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, script);
    QTemporaryDir dir;
    struct Unmount // before the folder goes
    {
        QByteArray path;
        ~Unmount()
        {
            if (!path.isEmpty())
                ::umount2(path.constData(), MNT_DETACH);
        }
    } unmount;
    const QString config = dir.filePath("config");
    const QString store = config + "/dev_hwup.conf";
    QVERIFY(QDir().mkpath(config));
    const QByteArray dev = QFile::encodeName(dir.filePath("dev"));
    if (fault.contains("device") && ::mknod(dev.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        QSKIP(qPrintable(QString("cannot make a device node: %1").arg(strerror(errno))));
    if (fault.startsWith("tmpfs")) {
        if (!m_noMounts.isEmpty())
            QSKIP(qPrintable(m_noMounts));
        QVERIFY(::mount("tmpfs", QFile::encodeName(config).constData(), "tmpfs", 0, "size=64k") ==
                0);
        unmount.path = QFile::encodeName(config);
    }
    if (fault == "link") {
        QVERIFY(writeFile(dir.filePath("target"), kOldStore));
        QVERIFY(QFile::link(dir.filePath("target"), store));
    } else if (fault == "link to device") {
        QVERIFY(QFile::link(dir.filePath("dev"), store));
    } else if (fault == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(store).constData(), 0600) == 0);
    } else if (fault == "device") {
        QVERIFY(::rename(dev.constData(), QFile::encodeName(store).constData()) == 0);
    } else if (fault == "folder") {
        QVERIFY(QDir().mkpath(store));
    } else {
        QVERIFY(writeFile(store, kOldStore));
    }
    if (fault.startsWith("tmpfs")) { // fill it up to the room the case leaves
        QFile filler(config + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'f')) == 1024) { }
        QVERIFY(filler.resize(filler.size() - fault.mid(6).toInt() * 1024));
    }
    const QByteArray before = snapshot(store);

    const StudioRun run = runStudio({"--config", config, "--plugins", dir.path(), "--set",
                                     "dev_hwup:new=" + QString(64 * 1024, 'n'), "--dump"},
                                    script);
    QVERIFY2(run.finished, "the studio hung or crashed");
    QCOMPARE(run.exitCode, 1);
    QFETCH(QString, reason);
    QVERIFY2(!run.lines("dev_hwup.conf").isEmpty() &&
                     run.lines("dev_hwup.conf") == run.lines(reason),
             run.err.constData());
    QCOMPARE(snapshot(store), before);
    const Dump dump = parseDump(run.out);
    QVERIFY(!dump["dev_hwup"].contains("new"));
    QCOMPARE(QDir(config)
                     .entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::Dirs |
                                QDir::NoDotAndDotDot)
                     .size(),
             fault.startsWith("tmpfs") ? 2 : 1); // no temporary or lock file left
}

// Guards against concurrent studios dropping each other's keys: each save
// must take the lock and merge what the others saved.
void tst_StoreFaults::concurrentStudiosKeepEveryKey()
{
    QTemporaryDir config;
    std::array<QProcess, 8> studios;
    for (int i = 0; i < 8; ++i)
        startStudio(studios[i],
                    {"--config", config.path(), "--plugins", config.path(), "--set",
                     QString("dev_hwup:key%1=%1").arg(i)});
    for (QProcess &studio : studios) {
        const StudioRun run = finishStudio(studio);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
    }
    const Dump dump = parseDump(
            runStudio({"--config", config.path(), "--plugins", config.path(), "--dump"}).out);
    QCOMPARE(dump["dev_hwup"].size(), 8);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(dump["dev_hwup"].value(QString("key%1").arg(i).toUtf8()), QByteArray::number(i));
}

QTEST_GUILESS_MAIN(tst_StoreFaults)
#include "tst_storefaults.moc"
