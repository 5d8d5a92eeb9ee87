#include "StudioProcess.h"
#include "tests/DataRow.h"

#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What lies at `path`: the kind of node, a link's target and what it
// points to, a regular file's identity, size and (when small) bytes.
QByteArray snapshot(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "<nothing>";
    const QByteArray kind = QByteArray::number(info.st_mode & S_IFMT, 8);
    if (S_ISLNK(info.st_mode))
        return kind + QFile::symLinkTarget(path).toUtf8() + snapshot(QFile::symLinkTarget(path));
    if (!S_ISREG(info.st_mode))
        return kind + QByteArray::number(qulonglong(info.st_rdev));
    return kind + QByteArray::number(qulonglong(info.st_ino)) + ' ' +
            QByteArray::number(qlonglong(info.st_size)) +
            (info.st_size < 1 << 20 ? readFile(path) : "");
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
    QTest::addColumn<QString>("setup"); // shell commands, run in a new folder
    QTest::addColumn<QString>("script"); // runs the studio as "$@"
    QTest::addColumn<QString>("reason"); // "" when the save must succeed

    const QString plain = "exec \"$@\"";
    // old + " FILE" writes a valid store holding keep=old to FILE.
    const QString old = "printf '# studio settings v1\\nkeep=old\\n' >";
    const QString stored = old + " config/dev_hwup.conf";
    const QString tmpfs = "mount -t tmpfs -o size=64k tmpfs config; " + stored +
            "; cat /dev/zero >config/filler 2>/dev/null || true";
    const QString sparse = stored +
            "; truncate -s %1 config/dev_hwup.conf || "
            "{ echo 'no sparse file of %1 bytes here' >&2; exit 77; }";
    // The studio runs as nobody in a folder of nobody's, beside root's lock.
    const QString rootsLock = "chmod 755 .; " + stored +
            "; touch config/dev_hwup.conf.lock; chown nobody config config/dev_hwup.conf; "
            "chmod %1 config/dev_hwup.conf.lock";
    const QString asNobody = "exec setpriv --reuid=nobody --regid=nogroup --clear-groups \"$@\"";
    // What saves killed on the way leave beside the store, one a link.
    const QString temporaries = "echo x >config/dev_hwup.conf.save-4194999; "
                                "ln -s /dev/zero config/dev_hwup.conf.save-7";
    row("symbolic link to a file", old + " target; ln -s ../target config/dev_hwup.conf", plain,
        "a symbolic link, not a regular file");
    row("symbolic link to a device", "mknod dev c 1 3; ln -s ../dev config/dev_hwup.conf", plain,
        "a symbolic link, not a regular file");
    row("FIFO", "mkfifo config/dev_hwup.conf", plain, "a FIFO, not a regular file");
    row("device node", "mknod config/dev_hwup.conf c 1 3", plain, "a device, not a regular file");
    row("folder", "mkdir config/dev_hwup.conf", plain, "a folder, not a regular file");
    row("full disk", tmpfs, plain, "No space left on device");
    row("full disk, a little room left", tmpfs + "; truncate -s -8k config/filler", plain,
        "No space left on device");
    row("file-size limit", stored, "ulimit -f 8; exec \"$@\"", "File too large");
    row("store past 2 GiB (sparse)", sparse.arg("3G"), plain, "larger than 64 MiB");
    row("store one byte past the size limit", sparse.arg(64 * 1024 * 1024 + 1), plain,
        "larger than 64 MiB");
    row("symbolic link to /dev/zero at the lock",
        stored + "; ln -s /dev/zero config/dev_hwup.conf.lock", plain,
        ".lock is a symbolic link, not a regular file");
    row("FIFO at the lock", stored + "; mkfifo config/dev_hwup.conf.lock", plain,
        ".lock is a FIFO, not a regular file");
    row("root's unheld lock, readable", rootsLock.arg(644), asNobody, "");
    row("root's unheld lock, unreadable", rootsLock.arg(600), asNobody,
        ".lock cannot be used: Permission denied");
    row("temporaries of killed saves", stored + "; " + temporaries, plain, "");
}

// Guards against losing stored values to a real machine's faults: the
// thing in the store's or its lock's place must stay exactly as it was
// (never followed, replaced or opened so that the studio blocks), the run
// must end with exit status 1 and every line about the store must say why,
// and --dump must not show the unsaved value as stored; where the save can
// be made, it is, and no temporary is left.
void tst_StoreFaults::storeFaults()
{
    QFETCH(QString, setup);
    QFETCH(QString, script);
    QFETCH(QString, reason);
    if ((setup.contains("mknod") || setup.contains("chown")) && ::geteuid() != 0)
        QSKIP("device nodes and other users' files need root (the CI runs the suite as root)");
    if (setup.contains("mount") && !m_noMounts.isEmpty())
        QSKIP(qPrintable(m_noMounts));
    QTemporaryDir dir;
    const QString config = dir.filePath("config");
    const QString store = config + "/dev_hwup.conf", lock = store + ".lock";
    struct Unmount // before the folder goes; harmless when nothing is mounted
    {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(config)};
    QVERIFY(QDir().mkpath(config));
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start("/bin/sh", {"-ec", setup});
    QVERIFY(shell.waitForFinished());
    if (shell.exitCode() == 77)
        QSKIP(shell.readAllStandardError().constData());
    QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError());
    const QByteArray before = snapshot(store), lockBefore = snapshot(lock);
    const bool saves = reason.isEmpty();

    const StudioRun run = runStudio({"--config", config, "--plugins", dir.path(), "--set",
                                     "dev_hwup:new=" + QString(64 * 1024, 'n'), "--dump"},
                                    script);
    QVERIFY2(run.finished, "the studio hung or crashed");
    QCOMPARE(run.exitCode, saves ? 0 : 1);
    const QStringList lines = run.lines("dev_hwup.conf");
    QVERIFY2(saves ? lines.isEmpty() : !lines.isEmpty() && lines == run.lines(reason),
             run.err.constData());
    QVERIFY(saves || snapshot(store) == before);
    QVERIFY(lockBefore == "<nothing>" || snapshot(lock) == lockBefore);
    QCOMPARE(parseDump(run.out)["dev_hwup"].contains("new"), saves);
    QStringList left = QDir(config).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                              QDir::NoDotAndDotDot);
    left.removeAll("dev_hwup.conf.lock");
    left.removeAll("filler");
    QCOMPARE(left, QStringList("dev_hwup.conf"));
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
