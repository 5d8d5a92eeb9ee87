#pragma once

// Runs winapi_probe (the query printer) in a child process, optionally under
// a wrapper such as "ip netns exec", and parses the rows it prints; or runs
// the query in this process and gives the rows in the same form.
#include "WinapiTestSupport.h"

#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

using ProbeRow = QMap<QString, QString>; // property -> describe() text

inline ProbeRow probeRow(const QStringList &entries)
{
    ProbeRow row;
    for (const QString &entry : entries)
        row.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    return row;
}

inline QList<ProbeRow> queryHere(const QString &wql)
{
    Session session;
    QList<QStringList> rows;
    QList<ProbeRow> result;
    if (FAILED(session.query(wql, &rows)))
        return result;
    for (const QStringList &row : rows)
        result << probeRow(row);
    return result;
}

// An empty list, with *error set, when the probe fails.
inline QList<ProbeRow> probe(
        const QString &wql, const QStringList &wrapper = {},
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        QString *error = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QStringList arguments = wrapper;
    arguments << QStringLiteral(WINAPI_PROBE) << wql;
    process.start(arguments.takeFirst(), arguments);
    QList<ProbeRow> rows;
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        if (error)
            *error = QString::fromLocal8Bit(process.readAllStandardError() + process.readAll());
        return rows;
    }
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        rows << probeRow(line.split(QLatin1Char('\t')));
    return rows;
}

// Runs a command to its end; true when it exited with 0.
inline bool runCommand(const QStringList &command, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(15000) &&
            process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return ok;
}
