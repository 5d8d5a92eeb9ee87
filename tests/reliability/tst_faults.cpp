#include "settings/SettingsPage.h"
#include "tests/SeamCounters.h"
#include "tests/settings/PageTestHost.h"

#include <winapi/ComBase.h>
#include <winapi/ComDef.h>

#include <QtTest>

namespace {

using Entries = std::map<std::string, std::string>;
const QStringList kAddresses{"10.0.0.2", "192.168.0.10"};
const QMap<QString, winapi_seam::Step>
        kSteps{{"CoInitializeEx", winapi_seam::Step::CoInitializeEx},
               {"CoInitializeSecurity", winapi_seam::Step::CoInitializeSecurity},
               {"CoCreateInstance", winapi_seam::Step::CoCreateInstance},
               {"ConnectServer", winapi_seam::Step::ConnectServer},
               {"CoSetProxyBlanket", winapi_seam::Step::CoSetProxyBlanket},
               {"ExecQuery", winapi_seam::Step::ExecQuery},
               {"Next", winapi_seam::Step::Next},
               {"Get", winapi_seam::Step::Get},
               {"SysAllocString", winapi_seam::Step::SysAllocString}};

// A connect that fails after entering the apartment stays in it (leaving
// after a failed CoInitializeEx would break the host's other COM users);
// the test thread leaves it, so the next case starts clean.
void leaveApartments()
{
    while (winapi_seam::counters().apartmentDepth > 0)
        CoUninitialize();
}

} // namespace

// Faults at each step of a page load, save and restore: the page ends in its
// documented state, the stores keep what they held, nothing of COM lives on.
class tst_Faults : public QObject
{
    Q_OBJECT

private slots:
    void faultDuring_data();
    void faultDuring();
};

void tst_Faults::faultDuring_data()
{
    QTest::addColumn<QString>("fault"); // "<COM step>#n" or "<peer module>#n", from 0
    QTest::addColumn<QString>("operation");
    // Two adapters: later calls than the tenth of a step never come.
    for (const QString &step : kSteps.keys())
        for (int nth = 0; nth < 10; ++nth)
            QTest::addRow("load, %s #%d", qPrintable(step), nth)
                    << QString("%1#%2").arg(step).arg(nth) << "load";
    for (const char *module : {"vendrel-studio", "dev_hwup"})
        for (const char *operation : {"load", "apply", "restore"})
            for (int nth = 0; nth < 6; ++nth)
                QTest::addRow("%s, %s look-up #%d", operation, module, nth)
                        << QString("%1#%2").arg(module).arg(nth) << operation;
}

// Guards against a fault breaking the page or the host's data: a WMI
// failure gives fewer or no addresses, never invented ones, and only a
// failed BSTR allocation ends the load (as _com_error); a peer that goes
// away at any look-up ends the operation in std::system_error (restoring
// the defaults skips its store); no value is lost or changed.
void tst_Faults::faultDuring()
{
    QFETCH(QString, fault);
    QFETCH(QString, operation);
    const QString target = fault.section('#', 0, 0);
    const int nth = fault.section('#', 1).toInt();
    PageTestHost host(kAddresses);
    // Values a save writes back unchanged, so a save leaves the stores equal.
    host.given({"work=UNI", "ip=192.168.0.10", "fps=120", "tc=30", "enable=true",
                "mode=magnetic immunity"});
    const Entries app = host.peers->appStore->entries();
    const Entries hwup = host.peers->hwupStore->entries();
    leaveApartments();
    SettingsPage page;
    if (operation != "load")
        page.widget(nullptr);

    bool lookupFailed = false;
    int seen = 0;
    if (kSteps.contains(target)) {
        winapi_seam::failStep(kSteps.value(target), E_FAIL, nth, 1);
    } else {
        if (nth == 0)
            PageTestHost::app().removeModule(target.toStdString());
        PageTestHost::app().setLookupObserver([&](const auto &lookup) {
            lookupFailed = lookupFailed || (lookup.name == target.toStdString() && !lookup.found);
            if (lookup.name == target.toStdString() && ++seen == nth)
                PageTestHost::app().removeModule(target.toStdString());
        });
    }
    QString threw;
    try {
        if (operation == "restore")
            page.restoreDefaults();
        else if (operation == "apply")
            page.apply();
        else
            page.widget(nullptr);
    } catch (const std::system_error &) {
        threw = "host";
    } catch (const _com_error &) {
        threw = "com";
    }
    PageTestHost::app().setLookupObserver({});
    const long apartments = winapi_seam::counters().apartmentDepth;
    QVERIFY2(apartments <= 1 && nothingLive(apartments), qPrintable(liveText()));
    leaveApartments();
    winapi_seam::reset();
    QVERIFY(threw != "com" || target == "SysAllocString");
    if (operation != "restore")
        QCOMPARE(threw == "host", lookupFailed);
    for (const auto &[store, before] :
         {std::pair(host.peers->appStore.get(), app), std::pair(host.peers->hwupStore.get(), hwup)})
        QVERIFY(store->entries() == before || (operation == "restore" && store->entries().empty()));
    if (!kSteps.contains(target) || !threw.isEmpty())
        return;

    // The rest of the load is untouched by a fault of the scan, and a save
    // keeps every value but the address, which is what the page now offers.
    auto *ip = child<QComboBox>(page.currentWidget(), "comboBox_ip_list");
    for (int i = 0; i < ip->count(); ++i)
        QVERIFY2(kAddresses.contains(ip->itemText(i)), qPrintable(ip->itemText(i)));
    QCOMPARE(child<QComboBox>(page.currentWidget(), "comboBox_tc_pps")->currentText(), "30");
    QVERIFY(page.apply());
    Entries expected = hwup;
    expected["settings.hwup.ip"] = ip->currentText().toStdString();
    QCOMPARE(ip->currentText() == "192.168.0.10", ip->findText("192.168.0.10") >= 0);
    QCOMPARE(host.peers->hwupStore->entries(), expected);
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
