// The network classes answered from this machine, read as wql reads them:
// against Qt's view of this host and, as root, in a network namespace this
// test builds with known interfaces and addresses.
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include "tests/DataRow.h"
#include "wql/WqlRunner.h"

#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

using Row = QVariantMap; // property -> value, as wql --json gives it

bool run(const QStringList &command, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(60000) &&
            process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return ok;
}

// The rows wql --json printed, keyed by `key`.
QMap<QString, Row> rowsOf(const QString &output, const QString &key)
{
    QMap<QString, Row> rows;
    for (const QString &line : output.split('\n', Qt::SkipEmptyParts)) {
        Row row;
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        for (auto it = object.begin(); it != object.end(); ++it)
            row.insert(it.key(), it.value().toObject().value("value").toVariant());
        rows.insert(row.value(key).toString(), row);
    }
    return rows;
}

// The rows of a query, keyed by `key`, run here or in network namespace `ns`.
QMap<QString, Row> query(const QString &wql, const QString &key, const QString &ns = QString())
{
    QStringList command{QStringLiteral(WQL_EXECUTABLE), "--json", wql};
    if (!ns.isEmpty())
        command = QStringList{"ip", "netns", "exec", ns} + command;
    QString output;
    run(command, &output);
    return rowsOf(output, key);
}

} // namespace

class tst_NetworkClasses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hostMatchesQt();
    void namespaceInterfaces_data();
    void namespaceInterfaces();
    void changeSeenAtOnce();

private:
    bool ip(const QStringList &arguments) { return run(QStringList{"ip", "-n", m_ns} + arguments); }

    QString m_ns; // empty: no namespace could be made
    QString m_skip;
};

void tst_NetworkClasses::initTestCase()
{
    if (::geteuid() != 0) {
        m_skip = QStringLiteral("needs root to create a network namespace");
        return;
    }
    const QString name = QStringLiteral("uiswinapi%1").arg(QCoreApplication::applicationPid());
    if (!run({"ip", "netns", "add", name}, &m_skip))
        return;
    m_ns = name;
    m_skip.clear();
    // Documentation and link-local ranges only, inside the namespace. uwg0
    // stays down; uwi0 is up but its peer uwj0 is not: no carrier.
    for (const char *command :
         {"link add uwa0 address 02:00:5e:00:0a:01 type veth peer name uwb0",
          "link add uwc0 type veth peer name uwd0", "link add uwe0 type veth peer name uwf0",
          "link add uwg0 type ifb", "link add uwi0 type veth peer name uwj0",
          "addr add 192.0.2.10/24 dev uwa0", "addr add 192.0.2.11/25 dev uwa0 label uwa0:1",
          "addr add 169.254.7.8/16 dev uwc0", "addr add 2001:db8::5/64 dev uwe0 nodad",
          "addr add 2001:db8:0:0:1:0:0:1/64 dev uwe0 nodad",
          "addr add ::ffff:198.51.100.9/128 dev uwe0 nodad", "addr add 198.51.100.3/24 dev uwg0",
          "link set uwa0 up", "link set uwb0 up", "link set uwc0 up", "link set uwd0 up",
          "link set uwe0 up", "link set uwf0 up", "link set uwi0 up"})
        QVERIFY2(ip(QString(command).split(' ')), command);
    QString links;
    for (int attempt = 0; attempt < 50 && links.count("LOWER_UP") < 6; ++attempt) {
        QThread::msleep(100);
        run({"ip", "-n", m_ns, "-o", "link", "show"}, &links);
    }
}

void tst_NetworkClasses::cleanupTestCase()
{
    if (!m_ns.isEmpty())
        run({"ip", "netns", "del", m_ns});
}

// Guards against interfaces missing or doubled, indexes that do not join the
// two classes, MAC addresses, states or IPv4 addresses read wrongly, and
// device identities of the wrong form, with Qt's view as the reference.
void tst_NetworkClasses::hostMatchesQt()
{
    const auto adapters = query("SELECT * FROM Win32_NetworkAdapter", "NetConnectionID");
    const auto configurations =
            query("SELECT * FROM Win32_NetworkAdapterConfiguration", "InterfaceIndex");
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    QCOMPARE(adapters.size(), interfaces.size());
    const QRegularExpression pnp(
            R"(^(ROOT\\NET\\\d{4}$|PCI\\VEN_\w{4}&DEV_\w{4}&SUBSYS_\w{8}&|USB\\|[A-Z]+\\))");
    for (const QNetworkInterface &interface : interfaces) {
        const Row adapter = adapters.value(interface.name());
        QCOMPARE(adapter.value("InterfaceIndex").toInt(), interface.index());
        const QString mac = interface.hardwareAddress().toUpper();
        QCOMPARE(adapter.value("MACAddress").toString(),
                 mac.size() == 17 && mac != "00:00:00:00:00:00" ? mac : QString());
        const auto flags = interface.flags();
        QCOMPARE(adapter.value("NetConnectionStatus").toInt(),
                 !flags.testFlag(QNetworkInterface::IsUp)               ? 0
                         : flags.testFlag(QNetworkInterface::IsRunning) ? 2
                                                                        : 7);
        const QString id = adapter.value("PNPDeviceID").toString();
        QVERIFY2(pnp.match(id).hasMatch(), qPrintable(id));
        // A LIKE decided before the identity is read must still find it.
        QVERIFY2(query("SELECT * FROM Win32_NetworkAdapter WHERE PNPDeviceID LIKE '" + id.left(4) +
                               "%'",
                       "NetConnectionID")
                         .contains(interface.name()),
                 qPrintable(id));
        QStringList expected;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                expected << entry.ip().toString();
        }
        QStringList found = configurations.value(QString::number(interface.index()))
                                    .value("IPAddress")
                                    .toStringList()
                                    .filter(QRegularExpression("^\\d+\\."));
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
    }
}

// Guards against wrong connection states, MAC formatting, address order
// (IPv4 in kernel order, then IPv6 without zone), subnet forms, and
// software adapters not under ROOT, on interfaces made for the test.
void tst_NetworkClasses::namespaceInterfaces_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("addresses"); // address/subnet, ...

    row("two IPv4 addresses, one labelled", "uwa0", 2,
        "192.0.2.10/255.255.255.0,192.0.2.11/255.255.255.128");
    row("link-local IPv4", "uwc0", 2, "169.254.7.8/255.255.0.0");
    row("IPv6 only, newest first, in their shortest forms", "uwe0", 2,
        "::ffff:198.51.100.9/128,2001:db8::1:0:0:1/64,2001:db8::5/64");
    row("administratively down", "uwg0", 0, "198.51.100.3/255.255.255.0");
    row("up without carrier", "uwi0", 7, "");
    row("loopback, down", "lo", 0, "");
}

void tst_NetworkClasses::namespaceInterfaces()
{
    QFETCH(QString, interface);
    if (m_ns.isEmpty())
        QSKIP(qPrintable(m_skip));

    const Row adapter =
            query("SELECT * FROM Win32_NetworkAdapter WHERE NetConnectionID = '" + interface + "'",
                  "Name", m_ns)
                    .value(interface);
    QTEST(adapter.value("NetConnectionStatus").toInt(), "status");
    QVERIFY2(adapter.value("PNPDeviceID").toString().startsWith("ROOT\\NET\\"),
             qPrintable(adapter.value("PNPDeviceID").toString()));
    if (interface == "uwa0")
        QCOMPARE(adapter.value("MACAddress").toString(), QStringLiteral("02:00:5E:00:0A:01"));
    const Row configuration =
            query("SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Index = " +
                          adapter.value("Index").toString(),
                  "Index", m_ns)
                    .first();
    QCOMPARE(configuration.value("MACAddress"), adapter.value("MACAddress"));
    const QStringList ips = configuration.value("IPAddress").toStringList();
    const QStringList masks = configuration.value("IPSubnet").toStringList();
    QCOMPARE(masks.size(), ips.size());
    QStringList found; // "address/subnet", without the kernel's own fe80:: ones
    for (int i = 0; i < ips.size(); ++i)
        found << ips.at(i) + '/' + masks.at(i);
    QTEST(found.filter(QRegularExpression("^(?!fe80:)")).join(','), "addresses");
    // The address list's own query leaves all of them out: software adapters.
    QCOMPARE(query("SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2) AND "
                   "(MACAddress IS NOT NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))",
                   "Name", m_ns)
                     .size(),
             0);
}

// Guards against an answer that trails the kernel: an address added or
// removed (an IPv6 one without duplicate address detection included) is
// in the very next query, of a new process and of a thread that has asked
// before (it keeps its netlink socket).
void tst_NetworkClasses::changeSeenAtOnce()
{
    if (m_ns.isEmpty())
        QSKIP(qPrintable(m_skip));
    const QString wql("SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description = 'uwa0'");
    const auto addresses = [](const QMap<QString, Row> &rows) {
        return rows.value("uwa0").value("IPAddress").toStringList();
    };
    QStringList seen, expected; // "<address> <step>: seen by a new process, by the thread"
    std::thread asker([&] {
        const int ns = ::open(("/var/run/netns/" + m_ns).toLocal8Bit().constData(), O_RDONLY);
        const bool entered = ns >= 0 && ::setns(ns, CLONE_NEWNET) == 0;
        const auto byThread = [&] {
            QString output;
            QTextStream out(&output);
            WqlRunner(out, out, true).runQueries({wql});
            out.flush();
            return entered ? addresses(rowsOf(output, "Description")) : QStringList();
        };
        for (const QString address : {"203.0.113.9/24", "2001:db8:1::9/64"}) {
            const QString text = address.section('/', 0, 0);
            for (const QString step : {"before", "add", "del"}) {
                if (step != "before")
                    ip(QStringList{"addr", step, address, "dev", "uwa0"} +
                       (step == "add" ? QStringList{"nodad"} : QStringList()));
                const auto yes = [](bool there) { return there ? "yes" : "no"; };
                expected << QString("%1 %2: %3 %3").arg(text, step, yes(step == "add"));
                seen << QString("%1 %2: %3 %4")
                                .arg(text, step,
                                     yes(addresses(query(wql, "Description", m_ns)).contains(text)),
                                     yes(byThread().contains(text)));
            }
        }
        if (ns >= 0)
            ::close(ns);
    });
    asker.join();
    QCOMPARE(seen, expected);
}

QTEST_GUILESS_MAIN(tst_NetworkClasses)
#include "tst_networkclasses.moc"
