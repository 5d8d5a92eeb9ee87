#include "WmiTestSupport.h"

#include "wmi/MachineInfo.h"

#include <map>

using winapi_seam::Row;
using winapi_seam::Value;

namespace {

// One adapter as the address list's query sees it, and its configuration.
struct Adapter
{
    int index;
    Value mac;
    Value address; // IPAddress; a flag: no configuration row at all
    const wchar_t *pnp = L"PCI\\VEN_8086";
};

void script(const std::vector<Adapter> &adapters)
{
    Rows rows, configs;
    for (const Adapter &a : adapters) {
        rows.push_back({{L"Index", a.index < 0 ? Value::text(L"x") : Value::int32(a.index)},
                        {L"MACAddress", a.mac},
                        {L"NetConnectionStatus", Value::int32(2)},
                        {L"PNPDeviceID", Value::text(a.pnp)}});
        if (a.address.kind() != Value::Kind::Boolean)
            configs.push_back({{L"Index", Value::int32(a.index)}, {L"IPAddress", a.address}});
    }
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", rows);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configs);
}

Value addresses(const std::vector<std::wstring> &texts) { return Value::textArray(texts); }

} // namespace

Q_DECLARE_METATYPE(std::vector<Adapter>)

class tst_MachineInfo : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void localIpAddresses_data();
    void localIpAddresses();
    void identity_data();
    void identity();
};

// Guards against link-local, software (ROOT) or address-less adapters
// listed, later adapters lost after a skipped one, the wrong adapter
// winning a shared address, numeric instead of text order, and the scan
// going on past an adapter whose index or configuration is unusable.
void tst_MachineInfo::localIpAddresses_data()
{
    QTest::addColumn<std::vector<Adapter>>("adapters");
    QTest::addColumn<QString>("expected");

    const Value mac1 = Value::text(L"AA:00:00:00:00:01"), mac2 = Value::text(L"AA:00:00:00:00:02");
    const Value mac3 = Value::text(L"AA:00:00:00:00:03");
    // clang-format off
    QTest::newRow("none") << std::vector<Adapter>{} << "";
    QTest::newRow("sorted as text, IPv6 listed") << std::vector<Adapter>{{1, mac1, addresses({L"192.168.0.9"})}, {2, mac2, addresses({L"192.168.0.10"})}, {3, mac3, addresses({L"10.0.0.2", L"10.0.0.3"})}, {4, mac1, addresses({L"fe80::1"})}} << "10.0.0.2=AA:00:00:00:00:03;192.168.0.10=AA:00:00:00:00:02;192.168.0.9=AA:00:00:00:00:01;fe80::1=AA:00:00:00:00:01";
    QTest::newRow("link-local left out, near misses kept") << std::vector<Adapter>{{1, mac1, addresses({L"169.254.12.34"})}, {2, mac2, addresses({L"169.254.1.1000"})}, {3, mac3, addresses({L"169.254.1"})}} << "169.254.1=AA:00:00:00:00:03;169.254.1.1000=AA:00:00:00:00:02";
    QTest::newRow("no address skipped, scan goes on") << std::vector<Adapter>{{1, mac1, Value::null()}, {2, mac2, addresses({})}, {3, mac3, addresses({L"10.1.1.1"})}} << "10.1.1.1=AA:00:00:00:00:03";
    QTest::newRow("shared address: the later adapter") << std::vector<Adapter>{{1, mac1, addresses({L"10.0.0.1"})}, {2, mac2, addresses({L"10.0.0.1"})}} << "10.0.0.1=AA:00:00:00:00:02";
    QTest::newRow("MAC not a string: empty") << std::vector<Adapter>{{1, Value::int32(5), addresses({L"10.0.0.1"})}} << "10.0.0.1=";
    QTest::newRow("software adapter never asked") << std::vector<Adapter>{{1, mac1, addresses({L"10.0.0.1"}), L"ROOT\\NET\\0000"}} << "";
    QTest::newRow("index not an integer ends the scan") << std::vector<Adapter>{{1, mac1, addresses({L"10.0.0.1"})}, {-1, mac2, addresses({L"10.0.0.2"})}, {3, mac3, addresses({L"10.0.0.3"})}} << "10.0.0.1=AA:00:00:00:00:01";
    QTest::newRow("no configuration ends the scan") << std::vector<Adapter>{{1, mac1, Value::boolean(true)}, {2, mac2, addresses({L"10.0.0.1"})}} << "";
    // clang-format on
}

void tst_MachineInfo::localIpAddresses()
{
    QFETCH(std::vector<Adapter>, adapters);
    QFETCH(QString, expected);

    script(adapters);
    QStringList found;
    const QMap<QString, QString> map = MachineInfo().localIpAddresses();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        found << it.key() + '=' + it.value();
    QCOMPARE(found.join(';'), expected);
}

// Guards against a wrong class or property read, a later row winning, a
// non-string value given as text, and the query's own condition ignored.
void tst_MachineInfo::identity_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("expected");

    const auto row = [](const wchar_t *name, Value value) { return Row{{name, value}}; };
    // clang-format off
    QTest::newRow("BIOS serial") << "Win32_BIOS" << Rows{row(L"SerialNumber", Value::text(L"B-1"))} << "biosSerialNumber" << "B-1";
    QTest::newRow("BIOS without serial") << "Win32_BIOS" << Rows{row(L"SerialNumber", Value::null())} << "biosSerialNumber" << "";
    QTest::newRow("board serial") << "Win32_BaseBoard" << Rows{row(L"SerialNumber", Value::text(L"MB-7"))} << "baseBoardSerialNumber" << "MB-7";
    QTest::newRow("first processor's id") << "Win32_Processor" << Rows{row(L"ProcessorId", Value::text(L"P0")), row(L"ProcessorId", Value::text(L"P1"))} << "processorId" << "P0";
    QTest::newRow("processor name skips NULL rows") << "Win32_Processor" << Rows{row(L"Name", Value::null()), row(L"Name", Value::text(L"CPU B"))} << "processorName" << "CPU B";
    QTest::newRow("computer name not a string") << "Win32_ComputerSystem" << Rows{row(L"Name", Value::int32(7))} << "computerName" << "";
    QTest::newRow("time zone") << "Win32_TimeZone" << Rows{row(L"Caption", Value::text(L"(UTC) Here"))} << "timeZoneCaption" << "(UTC) Here";
    // clang-format on
}

void tst_MachineInfo::identity()
{
    QFETCH(QString, className);
    QFETCH(Rows, rows);
    QFETCH(QString, question);
    QFETCH(QString, expected);

    winapi_seam::scriptRows(className.toStdWString(), rows);
    const std::map<QString, QString (MachineInfo::*)() const>
            questions{{"biosSerialNumber", &MachineInfo::biosSerialNumber},
                      {"baseBoardSerialNumber", &MachineInfo::baseBoardSerialNumber},
                      {"processorId", &MachineInfo::processorId},
                      {"processorName", &MachineInfo::processorName},
                      {"computerName", &MachineInfo::computerName},
                      {"timeZoneCaption", &MachineInfo::timeZoneCaption}};
    const MachineInfo info;
    QCOMPARE((info.*questions.at(question))(), expected);
}

QTEST_GUILESS_MAIN(tst_MachineInfo)
#include "tst_machineinfo.moc"
