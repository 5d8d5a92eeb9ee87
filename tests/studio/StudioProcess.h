#pragma once

// Runs the `studio` executable as a person or a script would, keeps what it
// said and reads its --dump. Shared by the end-to-end tests.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#define REAL_PLUGIN STUDIO_BIN_DIR "/uis_dev.plg"

struct StudioRun
{
    bool finished = false; // and did not crash or hang
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QStringList lines(const QString &containing) const
    {
        return QString::fromUtf8(err).split('\n', Qt::SkipEmptyParts).filter(containing);
    }
};

// Starts `studio arguments...` through `sh -c script`, where the script
// runs it as "$@" (e.g. `ulimit -f 4; exec "$@"`), headless and in UTF-8.
inline void startStudio(QProcess &process, const QStringList &arguments,
                        const QString &script = "exec \"$@\"")
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start("/bin/sh", QStringList{"-c", script, "sh", STUDIO_BIN_DIR "/studio"} + arguments);
}

inline StudioRun finishStudio(QProcess &process)
{
    StudioRun run;
    run.finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    process.waitForFinished();
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline StudioRun runStudio(const QStringList &arguments, const QString &script = "exec \"$@\"")
{
    QProcess process;
    startStudio(process, arguments, script);
    return finishStudio(process);
}

// Dumped bytes: a JSON string is UTF-8, an object carries base64; a key is
// a string or the JSON text of such an object.
inline QByteArray valueBytes(const QJsonValue &value)
{
    return value.isObject() ? QByteArray::fromBase64(value["base64"].toString().toLatin1())
                            : value.toString().toUtf8();
}

inline QByteArray keyBytes(const QString &key)
{
    const QJsonDocument object = QJsonDocument::fromJson(key.toUtf8());
    return object.isObject() ? valueBytes(object.object()) : key.toUtf8();
}

// module → (key bytes → value bytes); a store dumped as null is left out.
using Dump = QMap<QString, QMap<QByteArray, QByteArray>>;

inline Dump parseDump(const QByteArray &out)
{
    Dump dump;
    const QJsonObject all = QJsonDocument::fromJson(out).object();
    for (auto module = all.begin(); module != all.end(); ++module) {
        const QJsonObject store = module.value().toObject();
        if (!module.value().isNull())
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
