#pragma once

// Runs the `studio` executable as a person or a script would, keeps what it
// said and reads its --dump. Shared by the end-to-end tests.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

struct StudioRun
{
    int exitCode = -1;
    bool finished = false; // and did not crash
    QByteArray out;
    QByteArray err;

    QStringList lines(const QString &containing) const
    {
        return QString::fromUtf8(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(containing);
    }
};

inline QString realPlugin() { return QStringLiteral(STUDIO_BIN_DIR "/uis_dev.plg"); }

inline QString testPlugin(const QString &name)
{
    return QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/") + name + QStringLiteral(".plg");
}

// Starts `studio arguments...` through `sh -c script`, where the script
// runs it as "$@" (e.g. `ulimit -f 4; exec "$@"`), headless and in UTF-8.
inline void startStudio(QProcess &process, const QStringList &arguments,
                        const QString &script = QStringLiteral("exec \"$@\""))
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("/bin/sh"),
                  QStringList{"-c", script, "sh", QStringLiteral(STUDIO_BIN_DIR "/studio")} +
                          arguments);
}

inline StudioRun finishStudio(QProcess &process, int timeoutMs = 60000)
{
    StudioRun run;
    run.finished =
            process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline StudioRun runStudio(const QStringList &arguments,
                           const QString &script = QStringLiteral("exec \"$@\""))
{
    QProcess process;
    startStudio(process, arguments, script);
    return finishStudio(process);
}

// Dumped values back as bytes: a JSON string is UTF-8, an object carries
// base64; a key is a string or the JSON text of such an object.
inline QByteArray valueBytes(const QJsonValue &value)
{
    if (value.isObject())
        return QByteArray::fromBase64(value[QStringLiteral("base64")].toString().toLatin1());
    return value.toString().toUtf8();
}

inline QByteArray keyBytes(const QString &key)
{
    const QJsonDocument object = QJsonDocument::fromJson(key.toUtf8());
    return object.isObject() ? valueBytes(object.object()) : key.toUtf8();
}

// module → (key bytes → value bytes); a store dumped as null is absent.
using Dump = QMap<QString, QMap<QByteArray, QByteArray>>;

inline Dump parseDump(const QByteArray &out)
{
    Dump dump;
    const QJsonObject all = QJsonDocument::fromJson(out).object();
    for (auto module = all.begin(); module != all.end(); ++module) {
        if (module.value().isNull())
            continue;
        const QJsonObject store = module.value().toObject();
        dump[module.key()];
        for (auto entry = store.begin(); entry != store.end(); ++entry)
            dump[module.key()][keyBytes(entry.key())] = valueBytes(entry.value());
    }
    return dump;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
