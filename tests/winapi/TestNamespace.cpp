#include "TestNamespace.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <unistd.h>

TestNamespace::~TestNamespace()
{
    if (!m_name.isEmpty())
        runCommand({"ip", "netns", "del", m_name});
}

void TestNamespace::dropStale()
{
    // A run that crashed could not clean up: drop namespaces of this test
    // whose process is gone.
    QString output;
    if (!runCommand({"ip", "netns", "list"}, &output))
        return;
    const QRegularExpression stale("^uiswinapi(\\d+)\\b");
    for (const QString &line : output.split('\n')) {
        const QRegularExpressionMatch match = stale.match(line);
        if (match.hasMatch() && !QFile::exists("/proc/" + match.captured(1)))
            runCommand({"ip", "netns", "del", "uiswinapi" + match.captured(1)});
    }
}

bool TestNamespace::create(QString *skipReason)
{
    if (::geteuid() != 0) {
        *skipReason = QStringLiteral("needs root to create a network namespace");
        return false;
    }
    dropStale();
    const QString name = QStringLiteral("uiswinapi%1").arg(QCoreApplication::applicationPid());
    QString output;
    if (!runCommand({"ip", "netns", "add", name}, &output)) {
        *skipReason = "ip netns is unavailable: " + output.trimmed();
        return false;
    }
    m_name = name;

    // Every address is from a documentation or link-local range and lives
    // only inside the namespace; nothing is sent anywhere.
    const QStringList ipn{"ip", "-n", name};
    const QList<QStringList> commands{
            ipn +
                    QStringList{"link", "add", "uwa0", "address", "02:00:5e:00:0a:01", "type",
                                "veth", "peer", "name", "uwb0"},
            ipn +
                    QStringList{"link", "add", "uwc0", "address", "02:00:5e:00:0c:01", "type",
                                "veth", "peer", "name", "uwd0"},
            ipn + QStringList{"link", "add", "uwe0", "type", "veth", "peer", "name", "uwf0"},
            ipn + QStringList{"link", "add", "uwg0", "type", "veth", "peer", "name", "uwh0"},
            ipn + QStringList{"link", "add", "uwi0", "type", "veth", "peer", "name", "uwj0"},
            ipn + QStringList{"addr", "add", "192.0.2.10/24", "dev", "uwa0"},
            ipn + QStringList{"addr", "add", "192.0.2.11/24", "dev", "uwa0", "label", "uwa0:1"},
            ipn + QStringList{"addr", "add", "169.254.7.8/16", "dev", "uwc0"},
            ipn + QStringList{"addr", "add", "2001:db8::5/64", "dev", "uwe0", "nodad"},
            ipn + QStringList{"addr", "add", "198.51.100.3/24", "dev", "uwg0"},
    };
    for (const QStringList &command : commands) {
        if (!runCommand(command, &output)) {
            m_failure = command.join(' ') + ": " + output;
            return true;
        }
    }
    // uwg0 stays down; uwi0 is up, but its peer uwj0 is not: no carrier.
    for (const char *link : {"uwa0", "uwb0", "uwc0", "uwd0", "uwe0", "uwf0", "uwi0", "uwh0"}) {
        if (!runCommand(ipn + QStringList{"link", "set", link, "up"}, &output)) {
            m_failure = output;
            return true;
        }
    }
    // Carrier comes a moment after both ends are up.
    for (int attempt = 0; attempt < 50; ++attempt) {
        runCommand(ipn + QStringList{"-o", "link", "show"}, &output);
        if (output.count("LOWER_UP") >= 6)
            break;
        QThread::msleep(100);
    }
    return true;
}

QList<ProbeRow> TestNamespace::query(const QString &wql, QString *error) const
{
    return probe(wql, {"ip", "netns", "exec", m_name}, QProcessEnvironment::systemEnvironment(),
                 error);
}
