#include "WmiTestSupport.h"

#include "wmi/MachineInfo.h"

using winapi_seam::Row;
using winapi_seam::Step;
using winapi_seam::Value;

namespace {

const QString kAdapterQuery = QStringLiteral(
        "SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2) AND (MACAddress IS "
        "NOT NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))");

QString configurationQuery(int index)
{
    return QStringLiteral("SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Index = %1")
            .arg(index);
}

Row adapter(Value index, Value mac, int status = 2,
            const std::wstring &device = L"PCI\\VEN_8086&DEV_15B8\\3&11583659&0&FE")
{
    return {{L"Index", index},
            {L"MACAddress", mac},
            {L"NetConnectionStatus", Value::int32(status)},
            {L"PNPDeviceID", Value::text(device)}};
}

Row adapter(int index, const std::wstring &mac)
{
    return adapter(Value::int32(index), Value::text(mac));
}

Row configuration(int index, Value addresses)
{
    return {{L"Index", Value::int32(index)}, {L"IPAddress", addresses}};
}

Row configuration(int index, const std::vector<std::wstring> &addresses)
{
    return configuration(index, Value::textArray(addresses));
}

enum class Identity {
    BiosSerial,
    BaseBoardSerial,
    ProcessorId,
    ProcessorName,
    ComputerName,
    TimeZone
};

QString ask(const MachineInfo &info, Identity identity)
{
    switch (identity) {
    case Identity::BiosSerial:
        return info.biosSerialNumber();
    case Identity::BaseBoardSerial:
        return info.baseBoardSerialNumber();
    case Identity::ProcessorId:
        return info.processorId();
    case Identity::ProcessorName:
        return info.processorName();
    case Identity::ComputerName:
        return info.computerName();
    case Identity::TimeZone:
        return info.timeZoneCaption();
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Identity)

class tst_MachineInfo : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        winapi_seam::reset();
        winapi_seam::recordCalls(true);
    }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void localIpAddresses_data();
    void localIpAddresses();
    void identity_data();
    void identity();
    void unconnectedAnswersEmpty();
    void allocationFailurePassesThrough_data();
    void allocationFailurePassesThrough();
};

// Guards against each rule of the address scan: the adapter filter (ROOT
// devices never asked about), text order, later duplicates winning, the
// link-local pattern matching too much or too little, unusable addresses
// stopping the scan, and a bad index or a missing configuration not
// stopping it.
void tst_MachineInfo::localIpAddresses_data()
{
    QTest::addColumn<Rows>("adapters");
    QTest::addColumn<Rows>("configurations");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("indexesQueried");

    QTest::newRow("no adapter") << Rows{} << Rows{} << QStringList() << QList<int>();
    QTest::newRow("text order") << Rows{adapter(1, L"00:00:00:00:00:01"),
                                        adapter(2, L"00:00:00:00:00:02"),
                                        adapter(3, L"00:00:00:00:00:03")}
                                << Rows{configuration(1, {L"192.168.0.9"}),
                                        configuration(2, {L"10.0.0.2"}),
                                        configuration(3, {L"192.168.0.10"})}
                                << QStringList{"10.0.0.2 -> 00:00:00:00:00:02",
                                               "192.168.0.10 -> 00:00:00:00:00:03",
                                               "192.168.0.9 -> 00:00:00:00:00:01"}
                                << QList<int>{1, 2, 3};
    QTest::newRow("later duplicate wins")
            << Rows{adapter(4, L"AA:AA:AA:AA:AA:AA"), adapter(5, L"BB:BB:BB:BB:BB:BB")}
            << Rows{configuration(4, {L"10.1.1.1"}), configuration(5, {L"10.1.1.1"})}
            << QStringList{"10.1.1.1 -> BB:BB:BB:BB:BB:BB"} << QList<int>{4, 5};
    QTest::newRow("link-local") << Rows{adapter(1, L"01"), adapter(2, L"02"), adapter(3, L"03"),
                                        adapter(4, L"04")}
                                << Rows{configuration(1, {L"169.254.12.34"}),
                                        configuration(2, {L"169.254.1.1000"}),
                                        configuration(3, {L"169.254.1"}),
                                        configuration(4, {L"169.254.0.1"})}
                                << QStringList{"169.254.1 -> 03", "169.254.1.1000 -> 02"}
                                << QList<int>{1, 2, 3, 4};
    QTest::newRow("first address only")
            << Rows{adapter(6, L"06")}
            << Rows{configuration(6, {L"169.254.3.3", L"10.6.6.6", L"fe80::1"})} << QStringList()
            << QList<int>{6};
    QTest::newRow("IPv6 first") << Rows{adapter(7, L"07")}
                                << Rows{configuration(7, {L"fe80::1c2d:3e4f", L"10.7.7.7"})}
                                << QStringList{"fe80::1c2d:3e4f -> 07"} << QList<int>{7};
    QTest::newRow("unusable addresses skipped")
            << Rows{adapter(1, L"01"), adapter(2, L"02"), adapter(3, L"03"), adapter(4, L"04")}
            << Rows{configuration(1, Value::null()), configuration(2, Value::text(L"10.0.0.22")),
                    configuration(3, std::vector<std::wstring>{}), configuration(4, {L"10.0.0.4"})}
            << QStringList{"10.0.0.4 -> 04"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("MAC not a text") << Rows{adapter(Value::int32(8), Value::int32(12345))}
                                    << Rows{configuration(8, {L"10.8.8.8"})}
                                    << QStringList{"10.8.8.8 -> "} << QList<int>{8};
    QTest::newRow("index not VT_I4 ends the scan")
            << Rows{adapter(1, L"01"), adapter(Value::text(L"2"), Value::text(L"02")),
                    adapter(3, L"03")}
            << Rows{configuration(1, {L"10.0.0.1"}), configuration(2, {L"10.0.0.2"}),
                    configuration(3, {L"10.0.0.3"})}
            << QStringList{"10.0.0.1 -> 01"} << QList<int>{1};
    QTest::newRow("no configuration ends the scan")
            << Rows{adapter(1, L"01"), adapter(2, L"02"), adapter(3, L"03")}
            << Rows{configuration(1, {L"10.0.0.1"}), configuration(3, {L"10.0.0.3"})}
            << QStringList{"10.0.0.1 -> 01"} << QList<int>{1, 2};
    QTest::newRow("filtered adapters never asked about")
            << Rows{adapter(Value::int32(1), Value::text(L"01"), 2, L"ROOT\\NET\\0000"),
                    adapter(Value::int32(2), Value::text(L"02"), 7),
                    adapter(Value::int32(3), Value::null()), adapter(4, L"04")}
            << Rows{configuration(1, {L"10.0.0.1"}), configuration(2, {L"10.0.0.2"}),
                    configuration(3, {L"10.0.0.3"}), configuration(4, {L"10.0.0.4"})}
            << QStringList{"10.0.0.4 -> 04"} << QList<int>{4};
}

void tst_MachineInfo::localIpAddresses()
{
    QFETCH(Rows, adapters);
    QFETCH(Rows, configurations);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, indexesQueried);

    winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
    {
        const MachineInfo info;
        QCOMPARE(entries(info.localIpAddresses()), expected);
    }
    QStringList queries{kAdapterQuery};
    for (int index : indexesQueried)
        queries.append(configurationQuery(index));
    QCOMPARE(executedQueries(), queries);
}

// Guards against a wrong query text or property, reading a row other than
// the first, and a non-text value or an empty result giving anything but the
// empty text.
void tst_MachineInfo::identity_data()
{
    QTest::addColumn<Identity>("identity");
    QTest::addColumn<QString>("className");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");

    const QString bios = "select * from Win32_BIOS where(SerialNumber IS NOT NULL)";
    const QString board = "select * from Win32_BaseBoard where(SerialNumber IS NOT NULL)";
    const QString processorId = "SELECT * FROM Win32_Processor WHERE (ProcessorId IS NOT NULL)";
    const QString processorName = "SELECT * FROM Win32_Processor WHERE (Name IS NOT NULL)";
    const QString computer = "SELECT * FROM Win32_ComputerSystem";
    const QString timeZone = "select * from Win32_TimeZone";
    const Rows processors{{{L"Name", Value::null()}, {L"ProcessorId", Value::text(L"BFEBFBFF0001")}},
                          {{L"Name", Value::text(L"CPU one")},
                           {L"ProcessorId", Value::text(L"BFEBFBFF0002")}},
                          {{L"Name", Value::text(L"CPU two")}, {L"ProcessorId", Value::null()}}};
    // Rows of one property each.
    const auto rows = [](const wchar_t *name, std::initializer_list<Value> values) {
        Rows result;
        for (const Value &value : values)
            result.push_back({{name, value}});
        return result;
    };
    const Value null = Value::null();
    using I = Identity;
    // clang-format off
    QTest::newRow("BIOS serial") << I::BiosSerial << "Win32_BIOS" << rows(L"SerialNumber", {Value::text(L"BIOS-42")}) << bios << "BIOS-42";
    QTest::newRow("BIOS without serial") << I::BiosSerial << "Win32_BIOS" << rows(L"SerialNumber", {null}) << bios << "";
    QTest::newRow("board serial") << I::BaseBoardSerial << "Win32_BaseBoard" << rows(L"SerialNumber", {null, Value::text(L"MB-1"), Value::text(L"MB-2")}) << board << "MB-1";
    QTest::newRow("processor id, first row") << I::ProcessorId << "Win32_Processor" << processors << processorId << "BFEBFBFF0001";
    QTest::newRow("processor name, first row") << I::ProcessorName << "Win32_Processor" << processors << processorName << "CPU one";
    QTest::newRow("computer name") << I::ComputerName << "Win32_ComputerSystem" << rows(L"Name", {Value::text(L"STUDIO-PC"), Value::text(L"OTHER")}) << computer << "STUDIO-PC";
    QTest::newRow("computer name not a text") << I::ComputerName << "Win32_ComputerSystem" << rows(L"Name", {Value::int32(5)}) << computer << "";
    QTest::newRow("time zone") << I::TimeZone << "Win32_TimeZone" << rows(L"Caption", {Value::text(L"(UTC+01:00) Amsterdam")}) << timeZone << "(UTC+01:00) Amsterdam";
    QTest::newRow("no time zone") << I::TimeZone << "Win32_TimeZone" << Rows{} << timeZone << "";
    // clang-format on
}

void tst_MachineInfo::identity()
{
    QFETCH(Identity, identity);
    QFETCH(QString, className);
    QFETCH(Rows, rows);
    QFETCH(QString, query);
    QFETCH(QString, expected);

    winapi_seam::scriptRows(wide(className), rows);
    {
        const MachineInfo info;
        QCOMPARE(ask(info, identity), expected);
    }
    QCOMPARE(executedQueries(), QStringList{query});
}

// Guards against a failed connect or a failed query giving anything but
// empty answers, or querying through a connection that is not there.
void tst_MachineInfo::unconnectedAnswersEmpty()
{
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", {adapter(1, L"01")});
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", {configuration(1, {L"10.0.0.1"})});
    winapi_seam::scriptRows(L"Win32_BIOS", {{{L"SerialNumber", Value::text(L"BIOS-42")}}});

    winapi_seam::failStep(Step::CoInitializeEx, RPC_E_CHANGED_MODE);
    {
        const MachineInfo info;
        QVERIFY(info.localIpAddresses().isEmpty());
        QVERIFY(info.biosSerialNumber().isEmpty());
    }
    QVERIFY(executedQueries().isEmpty());

    winapi_seam::reset();
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", {adapter(1, L"01")});
    winapi_seam::failStep(Step::ExecQuery, WBEM_E_INVALID_QUERY);
    {
        const MachineInfo info;
        QVERIFY(info.localIpAddresses().isEmpty());
        QVERIFY(info.biosSerialNumber().isEmpty());
    }
    QCOMPARE(executedQueries().size(), 2);
}

// Guards against a failed BSTR allocation anywhere in a scan or an identity
// query being swallowed (the caller must see _com_error(E_OUTOFMEMORY)), a
// partial answer being returned instead, or anything leaking on the way out.
void tst_MachineInfo::allocationFailurePassesThrough_data()
{
    QTest::addColumn<bool>("addresses");
    QTest::newRow("address scan") << true;
    QTest::newRow("identity") << false;
}

void tst_MachineInfo::allocationFailurePassesThrough()
{
    QFETCH(bool, addresses);

    const auto script = [] {
        winapi_seam::scriptRows(L"Win32_NetworkAdapter", {adapter(1, L"01"), adapter(2, L"02")});
        winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration",
                                {configuration(1, {L"10.0.0.1"}), configuration(2, {L"10.0.0.2"})});
        winapi_seam::scriptRows(L"Win32_ComputerSystem", {{{L"Name", Value::text(L"STUDIO-PC")}}});
    };
    const QStringList full{"10.0.0.1 -> 01", "10.0.0.2 -> 02"};

    // Fail the first, second, ... allocation after the connect until the
    // operation gets through without one.
    int thrown = 0;
    for (int after = 0; after < 100; ++after) {
        winapi_seam::reset();
        script();
        bool threw = false;
        {
            const MachineInfo info;
            winapi_seam::failStep(Step::SysAllocString, E_OUTOFMEMORY, after, 1);
            try {
                if (addresses)
                    QCOMPARE(entries(info.localIpAddresses()), full);
                else
                    QCOMPARE(info.computerName(), QStringLiteral("STUDIO-PC"));
            } catch (const _com_error &error) {
                QCOMPARE(error.Error(), E_OUTOFMEMORY);
                threw = true;
            }
        }
        verifyNothingLive();
        if (!threw)
            break;
        ++thrown;
    }
    // Every query text and property name is a BSTR: at least the first
    // allocation must have failed visibly.
    QVERIFY(thrown >= (addresses ? 4 : 2));
}

QTEST_GUILESS_MAIN(tst_MachineInfo)
#include "tst_machineinfo.moc"
