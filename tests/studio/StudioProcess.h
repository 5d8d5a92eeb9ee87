#pragma once

// Runs the `studio` executable as a person or a script would, and keeps
// what it said. Shared by the end-to-end tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

struct StudioRun
{
    int exitCode = -1;
    bool finished = false;
    bool crashed = false;
    QByteArray out;
    QByteArray err;

    QStringList errLines() const
    {
        QStringList lines = QString::fromUtf8(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines;
    }
};

inline QString studioExecutable() { return QStringLiteral(STUDIO_BIN_DIR "/studio"); }

inline QString realPlugin() { return QStringLiteral(STUDIO_BIN_DIR "/uis_dev.plg"); }

inline QString testPlugin(const QString &name)
{
    return QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/") + name + QStringLiteral(".plg");
}

// The environment of a headless run: offscreen, UTF-8, no real display.
inline QProcessEnvironment headlessEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=false"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

inline StudioRun runStudio(const QStringList &arguments,
                           const QProcessEnvironment &env = headlessEnvironment(),
                           const QString &program = studioExecutable(), int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    StudioRun run;
    if (!process.waitForStarted(10000))
        return run;
    process.closeWriteChannel();
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Copies plug-ins (by full path) into `folder` under their own names.
inline bool copyInto(const QString &folder, const QStringList &files)
{
    for (const QString &file : files) {
        if (!QFile::copy(file, QDir(folder).filePath(QFileInfo(file).fileName())))
            return false;
    }
    return true;
}
