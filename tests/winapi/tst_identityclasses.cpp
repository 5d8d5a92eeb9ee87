// The identity classes answered from this machine: computer, processors,
// firmware and time zone, checked against Qt's view of the host and, in
// child processes, under other host names and time zones.
#include "ProbeProcess.h"
#include "WinapiTestSupport.h"

#include <QHostInfo>
#include <QRegularExpression>
#include <QThread>

#include <unistd.h>

using Row = ProbeRow;

class tst_IdentityClasses : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void identity();
    void computerName_data();
    void computerName();
    void timeZone_data();
    void timeZone();
};

// Guards against a computer name that is not the NetBIOS form, a malformed
// processor signature, processors counted per thread instead of per
// package, and 64-bit values not handed out as text.
void tst_IdentityClasses::identity()
{
    const QList<Row> systems = queryHere("SELECT * FROM Win32_ComputerSystem");
    QCOMPARE(systems.size(), 1);
    const QString netbios = QHostInfo::localHostName().section('.', 0, 0).left(15).toUpper();
    QCOMPARE(systems.first().value("Name"), "'" + netbios + "'");
    QVERIFY(QRegularExpression("^'[1-9][0-9]*'$")
                    .match(systems.first().value("TotalPhysicalMemory"))
                    .hasMatch());

    IWbemClassObject *object = nullptr;
    {
        Session session;
        const _bstr_t path(wide("Win32_ComputerSystem.Name=\"" + netbios.toLower() + "\"").c_str());
        QCOMPARE(session.services->GetObject(path, 0, nullptr, &object, nullptr), S_OK);
        QCOMPARE(readProperty(object, "Name"), "'" + netbios + "'");
        object->Release();
    }

    const QList<Row> processors = queryHere("SELECT * FROM Win32_Processor");
    QVERIFY(!processors.isEmpty());
    int logical = 0;
    for (int i = 0; i < processors.size(); ++i) {
        const Row &processor = processors.at(i);
        QCOMPARE(processor.value("DeviceID"), QStringLiteral("'CPU%1'").arg(i));
        logical += processor.value("NumberOfLogicalProcessors").mid(2).toInt();
        QVERIFY(processor.value("NumberOfCores").mid(2).toInt() >= 1);
#if defined(__i386__) || defined(__x86_64__)
        QVERIFY2(QRegularExpression("^'[0-9A-F]{16}'$")
                         .match(processor.value("ProcessorId"))
                         .hasMatch(),
                 qPrintable(processor.value("ProcessorId")));
#else
        QCOMPARE(processor.value("ProcessorId"), QStringLiteral("null"));
#endif
    }
    QCOMPARE(logical, QThread::idealThreadCount());

    // Firmware values are text where readable and NULL where not, never
    // anything else.
    for (const char *wql : {"SELECT * FROM Win32_BIOS", "SELECT * FROM Win32_BaseBoard"}) {
        const QList<Row> rows = queryHere(wql);
        QCOMPARE(rows.size(), 1);
        const QString serial = rows.first().value("SerialNumber");
        QVERIFY2(serial == "null" || serial.startsWith('\''), qPrintable(serial));
    }
}
void tst_IdentityClasses::computerName_data()
{
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");

    // clang-format off
    QTest::newRow("short") << "studio" << "STUDIO" << "WORKGROUP";
    QTest::newRow("mixed case with domain") << "MoCap-Rig.example.org" << "MOCAP-RIG" << "example.org";
    QTest::newRow("longer than NetBIOS allows") << "capture-workstation-07" << "CAPTURE-WORKSTA" << "WORKGROUP";
    // clang-format on
}

// Guards against a computer name that is not the NetBIOS form (first
// label, upper case, at most 15 characters) and a domain taken from the
// wrong part of the name, under host names set in a private UTS namespace.
void tst_IdentityClasses::computerName()
{
    QFETCH(QString, hostName);
    QFETCH(QString, name);
    QFETCH(QString, domain);

    if (::geteuid() != 0)
        QSKIP("needs root to set a host name in a private UTS namespace");
    QString error;
    const QStringList wrapper{"unshare",
                              "--uts",
                              "sh",
                              "-c",
                              "hostname \"$1\" && shift && exec \"$@\"",
                              "sh",
                              hostName};
    const QList<Row> rows = probe("SELECT Name, Domain FROM Win32_ComputerSystem", wrapper,
                                  QProcessEnvironment::systemEnvironment(), &error);
    if (rows.isEmpty() && error.contains("unshare"))
        QSKIP(qPrintable("no UTS namespaces here: " + error));
    QVERIFY2(rows.size() == 1, qPrintable(error));
    QCOMPARE(rows.value(0).value("Name"), "'" + name + "'");
    QCOMPARE(rows.value(0).value("Domain"), "'" + domain + "'");

    // Its object path, with the name in any case, finds it.
    const QList<Row> byPath = probe("Win32_ComputerSystem.Name=\"" + name.toLower() + "\"", wrapper,
                                    QProcessEnvironment::systemEnvironment(), &error);
    QVERIFY2(byPath.size() == 1, qPrintable(error));
}
void tst_IdentityClasses::timeZone_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("bias");
    QTest::addColumn<QString>("caption");

    // clang-format off
    QTest::newRow("east, half hour") << "Asia/Kolkata" << "i:-330" << "'(UTC+05:30) Asia/Kolkata'";
    QTest::newRow("west") << "America/New_York" << "i:300" << "'(UTC-05:00) America/New_York'";
    QTest::newRow("one hour east") << "Europe/Berlin" << "i:-60" << "'(UTC+01:00) Europe/Berlin'";
    QTest::newRow("UTC") << "UTC" << "i:0" << "'(UTC+00:00) UTC'";
    // clang-format on
}

// Guards against the bias sign being the Unix one (UTC+1 must be -60) and a
// caption that does not carry the standard offset and the zone name.
void tst_IdentityClasses::timeZone()
{
    QFETCH(QString, zone);
    QFETCH(QString, bias);
    QFETCH(QString, caption);

    if (!QFile::exists("/usr/share/zoneinfo/" + zone))
        QSKIP("the time zone database lacks this zone");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TZ", zone);
    QString error;
    const QList<Row> rows = probe("select * from Win32_TimeZone", {}, environment, &error);
    QVERIFY2(rows.size() == 1, qPrintable(error));
    QCOMPARE(rows.first().value("Bias"), bias);
    QCOMPARE(rows.first().value("Caption"), caption);
    QVERIFY(rows.first().value("StandardName").size() > 2);
}
QTEST_GUILESS_MAIN(tst_IdentityClasses)
#include "tst_identityclasses.moc"
