// The network classes are kept between queries while the kernel reports no
// change: every change the kernel announced before a query must show in it.
// The test moves itself into a network namespace of its own (root only) and
// changes links and addresses there between two queries of one process.
#include "ProbeProcess.h"
#include "winapi/src/providers/FileDescriptor.h"

#include <QNetworkInterface>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The value of one property in the first row, or "none" for no row.
QString firstValue(const QString &wql, const QString &property)
{
    const QList<ProbeRow> rows = queryHere(wql);
    return rows.isEmpty() ? QStringLiteral("none") : rows.first().value(property);
}

bool runAll(const QList<QStringList> &commands, QString *failure)
{
    for (const QStringList &command : commands) {
        QString output;
        if (!runCommand(QStringList{"ip"} + command, &output)) {
            *failure = command.join(' ') + ": " + output;
            return false;
        }
    }
    return true;
}

// The adapters' connection names against Qt's interface names, both sorted.
void compareWithQt(const char *where)
{
    QStringList listed;
    for (const ProbeRow &row : queryHere("SELECT NetConnectionID FROM Win32_NetworkAdapter")) {
        const QString name = row.value("NetConnectionID");
        listed << name.mid(1, name.size() - 2);
    }
    QStringList expected;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces())
        expected << interface.name();
    listed.sort();
    expected.sort();
    QVERIFY2(listed == expected,
             qPrintable(QString(where) + ": " + listed.join(',') + " vs " + expected.join(',')));
}

// A socket that hears the kernel's link and address announcements of the
// calling thread's namespace from now on. Some come from the kernel's work
// queue after the command has returned (an IPv6 address added without
// duplicate address detection); a query is only bound to see a change once
// it has been announced.
FileDescriptor listenForAnnouncements()
{
    FileDescriptor socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    sockaddr_nl address = {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
    if (socket.isValid() &&
        ::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return FileDescriptor();
    return socket;
}

// True once an announcement has come, within five seconds.
bool announced(const FileDescriptor &socket)
{
    pollfd ready = {socket.get(), POLLIN, 0};
    return socket.isValid() && ::poll(&ready, 1, 5000) == 1;
}

} // namespace

class tst_NetworkCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void changesAreSeen_data();
    void changesAreSeen();
    void anotherNamespaceIsSeen();
    void concurrentQueries();

private:
    std::optional<FileDescriptor> m_original;
    std::optional<FileDescriptor> m_own;
};

void tst_NetworkCache::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("needs root to make a network namespace");
    QString output;
    if (!runCommand({"ip", "-V"}, &output))
        QSKIP("no ip command");
    m_original.emplace(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC));
    QVERIFY(m_original->isValid());
    // Only this thread, and the commands it starts, move: nothing of the
    // machine's own network is touched.
    if (::unshare(CLONE_NEWNET) != 0)
        QSKIP("cannot make a network namespace here");
    m_own.emplace(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC));
    QVERIFY(m_own->isValid());
}

void tst_NetworkCache::changesAreSeen_data()
{
    QTest::addColumn<QList<QStringList>>("setup");
    QTest::addColumn<QList<QStringList>>("change");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    const auto veth = [](const QString &name) {
        return QStringList{"link", "add", name + "0", "type", "veth", "peer", "name", name + "1"};
    };
    const auto configuration = [](const QString &name) {
        return "SELECT IPAddress FROM Win32_NetworkAdapterConfiguration WHERE Description = '" +
                name + "'";
    };
    const auto adapter = [](const QString &name) {
        return "SELECT * FROM Win32_NetworkAdapter WHERE NetConnectionID = '" + name + "'";
    };

    QTest::newRow("IPv4 address added")
            << QList<QStringList>{veth("ca")}
            << QList<QStringList>{{"addr", "add", "192.0.2.1/24", "dev", "ca0"}}
            << configuration("ca0") << "IPAddress"
            << "null"
            << "[192.0.2.1]";
    QTest::newRow("IPv4 address removed")
            << QList<QStringList>{veth("cb"), {"addr", "add", "192.0.2.2/24", "dev", "cb0"}}
            << QList<QStringList>{{"addr", "del", "192.0.2.2/24", "dev", "cb0"}}
            << configuration("cb0") << "IPAddress"
            << "[192.0.2.2]"
            << "null";
    QTest::newRow("IPv6 address added")
            << QList<QStringList>{veth("cc")}
            << QList<QStringList>{{"addr", "add", "2001:db8::7/64", "dev", "cc0", "nodad"}}
            << configuration("cc0") << "IPAddress"
            << "null"
            << "[2001:db8::7]";
    QTest::newRow("link set up") << QList<QStringList>{veth("cd")}
                                 << QList<QStringList>{{"link", "set", "cd0", "up"}}
                                 << adapter("cd0") << "NetEnabled"
                                 << "b:false"
                                 << "b:true";
    QTest::newRow("hardware address changed")
            << QList<QStringList>{veth("ce"), {"link", "set", "ce0", "address", "02:00:5e:00:0e:01"}}
            << QList<QStringList>{{"link", "set", "ce0", "address", "02:00:5e:00:0e:02"}}
            << adapter("ce0") << "MACAddress"
            << "'02:00:5E:00:0E:01'"
            << "'02:00:5E:00:0E:02'";
    QTest::newRow("link added") << QList<QStringList>() << QList<QStringList>{veth("cf")}
                                << adapter("cf0") << "NetConnectionID"
                                << "none"
                                << "'cf0'";
    QTest::newRow("link deleted") << QList<QStringList>{veth("cg")}
                                  << QList<QStringList>{{"link", "del", "cg0"}} << adapter("cg0")
                                  << "NetConnectionID"
                                  << "'cg0'"
                                  << "none";
    QTest::newRow("link renamed") << QList<QStringList>{veth("ch")}
                                  << QList<QStringList>{{"link", "set", "ch0", "name", "ch9"}}
                                  << adapter("ch9") << "NetConnectionID"
                                  << "none"
                                  << "'ch9'";
}

// Guards against answers kept from before a change of links or addresses:
// the same query runs before and after the change in one process.
void tst_NetworkCache::changesAreSeen()
{
    QFETCH(QList<QStringList>, setup);
    QFETCH(QList<QStringList>, change);
    QFETCH(QString, query);
    QFETCH(QString, property);
    QFETCH(QString, before);
    QFETCH(QString, after);

    QString failure;
    QVERIFY2(runAll(setup, &failure), qPrintable(failure));
    QCOMPARE(firstValue(query, property), before);
    // Asked twice: a kept answer must still be the same answer.
    QCOMPARE(firstValue(query, property), before);
    const FileDescriptor announcements = listenForAnnouncements();
    QVERIFY2(runAll(change, &failure), qPrintable(failure));
    QVERIFY2(announced(announcements), "the kernel announced no change");
    QCOMPARE(firstValue(query, property), after);
}

// Guards against rows kept for one network namespace being given to a
// thread that has moved to another.
void tst_NetworkCache::anotherNamespaceIsSeen()
{
    QString failure;
    QVERIFY2(runAll({{"link", "add", "ci0", "type", "veth", "peer", "name", "ci1"}}, &failure),
             qPrintable(failure));
    compareWithQt("own namespace");
    QCOMPARE(::setns(m_original->get(), CLONE_NEWNET), 0);
    compareWithQt("original namespace");
    const bool back = ::setns(m_own->get(), CLONE_NEWNET) == 0;
    QVERIFY(back);
    compareWithQt("own namespace again");
}

// Guards against a snapshot dropped or rebuilt under a query of another
// thread: queries of both classes run on several threads while addresses
// come and go; every answer lists every link.
void tst_NetworkCache::concurrentQueries()
{
    QString failure;
    QVERIFY2(runAll({{"link", "add", "cj0", "type", "veth", "peer", "name", "cj1"}}, &failure),
             qPrintable(failure));
    const int links = QNetworkInterface::allInterfaces().size();
    std::atomic<int> wrong{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    threads.reserve(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&wrong, &stop, links, t] {
            const QString query = t % 2
                    ? QStringLiteral("SELECT * FROM Win32_NetworkAdapter")
                    : QStringLiteral("SELECT * FROM Win32_NetworkAdapterConfiguration");
            for (int i = 0; i < 200 && !stop; ++i) {
                if (queryHere(query).size() != links)
                    ++wrong;
            }
        });
    }
    const QList<QStringList> toggle{{"addr", "add", "192.0.2.9/24", "dev", "cj0"},
                                    {"addr", "del", "192.0.2.9/24", "dev", "cj0"}};
    for (int i = 0; i < 5; ++i) {
        if (!runAll(toggle, &failure))
            break;
    }
    stop = true;
    for (std::thread &thread : threads)
        thread.join();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(wrong.load(), 0);
    QCOMPARE(firstValue("SELECT IPAddress FROM Win32_NetworkAdapterConfiguration WHERE "
                        "Description = 'cj0'",
                        "IPAddress"),
             QStringLiteral("null"));
}

QTEST_GUILESS_MAIN(tst_NetworkCache)
#include "tst_networkcache.moc"
