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

Value ips(const std::vector<std::wstring> &texts) { return Value::textArray(texts); }

} // namespace

Q_DECLARE_METATYPE(std::vector<Adapter>)

class tst_MachineInfo : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup() { endSeamTest(); }

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
    using A = std::vector<Adapter>;
    row("none", A{}, "");
    row("sorted as text, IPv6 listed",
        A{{1, mac1, ips({L"192.168.0.9"})},
          {2, mac2, ips({L"192.168.0.10"})},
          {3, mac3, ips({L"10.0.0.2", L"10.0.0.3"})},
          {4, mac1, ips({L"fe80::1"})}},
        "10.0.0.2=AA:00:00:00:00:03;192.168.0.10=AA:00:00:00:00:02;"
        "192.168.0.9=AA:00:00:00:00:01;fe80::1=AA:00:00:00:00:01");
    row("link-local left out, near misses kept",
        A{{1, mac1, ips({L"169.254.12.34"})},
          {2, mac2, ips({L"169.254.1.1000"})},
          {3, mac3, ips({L"169.254.1"})}},
        "169.254.1=AA:00:00:00:00:03;169.254.1.1000=AA:00:00:00:00:02");
    row("no address skipped, scan goes on",
        A{{1, mac1, Value::null()}, {2, mac2, ips({})}, {3, mac3, ips({L"10.1.1.1"})}},
        "10.1.1.1=AA:00:00:00:00:03");
    row("shared address: the later adapter",
        A{{1, mac1, ips({L"10.0.0.1"})}, {2, mac2, ips({L"10.0.0.1"})}},
        "10.0.0.1=AA:00:00:00:00:02");
    row("MAC not a string: empty", A{{1, Value::int32(5), ips({L"10.0.0.1"})}}, "10.0.0.1=");
    row("software adapter never asked", A{{1, mac1, ips({L"10.0.0.1"}), L"ROOT\\NET\\0000"}}, "");
    row("index not an integer ends the scan",
        A{{1, mac1, ips({L"10.0.0.1"})},
          {-1, mac2, ips({L"10.0.0.2"})},
          {3, mac3, ips({L"10.0.0.3"})}},
        "10.0.0.1=AA:00:00:00:00:01");
    row("no configuration ends the scan",
        A{{1, mac1, Value::boolean(true)}, {2, mac2, ips({L"10.0.0.1"})}}, "");
}

void tst_MachineInfo::localIpAddresses()
{
    QFETCH(std::vector<Adapter>, adapters);
    script(adapters);
    QStringList found;
    const QMap<QString, QString> map = MachineInfo().localIpAddresses();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        found << it.key() + '=' + it.value();
    QTEST(found.join(';'), "expected");
}

// Guards against a wrong class or property read, a later row winning, a
// non-string value given as text, and the query's own condition ignored.
void tst_MachineInfo::identity_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("expected");

    const auto prop = [](const wchar_t *name, Value value) { return Row{{name, value}}; };
    row("BIOS serial", "Win32_BIOS", Rows{prop(L"SerialNumber", Value::text(L"B-1"))},
        "biosSerialNumber", "B-1");
    row("BIOS without serial", "Win32_BIOS", Rows{prop(L"SerialNumber", Value::null())},
        "biosSerialNumber", "");
    row("board serial", "Win32_BaseBoard", Rows{prop(L"SerialNumber", Value::text(L"MB-7"))},
        "baseBoardSerialNumber", "MB-7");
    row("first processor's id", "Win32_Processor",
        Rows{prop(L"ProcessorId", Value::text(L"P0")), prop(L"ProcessorId", Value::text(L"P1"))},
        "processorId", "P0");
    row("processor name skips NULL rows", "Win32_Processor",
        Rows{prop(L"Name", Value::null()), prop(L"Name", Value::text(L"CPU B"))}, "processorName",
        "CPU B");
    row("computer name not a string", "Win32_ComputerSystem", Rows{prop(L"Name", Value::int32(7))},
        "computerName", "");
    row("time zone", "Win32_TimeZone", Rows{prop(L"Caption", Value::text(L"(UTC) Here"))},
        "timeZoneCaption", "(UTC) Here");
}

void tst_MachineInfo::identity()
{
    QFETCH(QString, className);
    QFETCH(Rows, rows);
    QFETCH(QString, question);

    winapi_seam::scriptRows(className.toStdWString(), rows);
    const std::map<QString, QString (MachineInfo::*)() const>
            questions{{"biosSerialNumber", &MachineInfo::biosSerialNumber},
                      {"baseBoardSerialNumber", &MachineInfo::baseBoardSerialNumber},
                      {"processorId", &MachineInfo::processorId},
                      {"processorName", &MachineInfo::processorName},
                      {"computerName", &MachineInfo::computerName},
                      {"timeZoneCaption", &MachineInfo::timeZoneCaption}};
    const MachineInfo info;
    QTEST((info.*questions.at(question))(), "expected");
}

QTEST_GUILESS_MAIN(tst_MachineInfo)
#include "tst_machineinfo.moc"
