#include "settings/SettingsPage.h"
#include "tests/SeamCounters.h"
#include "tests/settings/PageTestHost.h"

#include <winapi/ComBase.h>
#include <winapi/ComDef.h>

#include <QComboBox>
#include <QtTest>

namespace {

using Step = winapi_seam::Step;
using Entries = std::map<std::string, std::string>;
const QStringList kAddresses{"10.0.0.2", "192.168.0.10"};
// Values a save writes back unchanged, so a save leaves the stores equal.
const QStringList kStored{"work=UNI", "ip=192.168.0.10", "fps=120",
                          "tc=30",    "enable=true",     "mode=magnetic immunity"};

// A connect that fails after entering the apartment stays in it (leaving
// after a failed CoInitializeEx would break the host's other COM users);
// the test thread leaves it, so the next case starts clean.
void leaveApartments()
{
    while (winapi_seam::counters().apartmentDepth > 0)
        CoUninitialize();
}

} // namespace

Q_DECLARE_METATYPE(Step)

// Faults at each step of a page load and save: the page ends in its
// documented state, the stores keep what they held, nothing of COM lives on.
class tst_Faults : public QObject
{
    Q_OBJECT

private slots:
    void comStepFails_data();
    void comStepFails();
    void lookupFails_data();
    void lookupFails();
};

void tst_Faults::comStepFails_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("nth");
    const std::pair<const char *, Step> steps[] = {{"CoInitializeEx", Step::CoInitializeEx},
                                                   {"CoInitializeSecurity",
                                                    Step::CoInitializeSecurity},
                                                   {"CoCreateInstance", Step::CoCreateInstance},
                                                   {"ConnectServer", Step::ConnectServer},
                                                   {"CoSetProxyBlanket", Step::CoSetProxyBlanket},
                                                   {"ExecQuery", Step::ExecQuery},
                                                   {"Next", Step::Next},
                                                   {"Get", Step::Get},
                                                   {"SysAllocString", Step::SysAllocString}};
    // Two adapters: later calls than the tenth of a step never come.
    for (const auto &step : steps)
        for (int nth = 0; nth < 10; ++nth)
            QTest::addRow("%s #%d", step.first, nth) << step.second << nth;
}

// Guards against a WMI failure breaking the page: it loads with fewer or no
// addresses, never invented ones; only a failed BSTR allocation may end the
// load, as a _com_error; a later save keeps every value but the address.
void tst_Faults::comStepFails()
{
    QFETCH(Step, step);
    QFETCH(int, nth);
    PageTestHost host(kAddresses);
    host.store(kStored);
    const Entries app = host.peers->appStore->entries();
    const Entries hwup = host.peers->hwupStore->entries();
    leaveApartments();

    winapi_seam::failStep(step, E_FAIL, nth, 1);
    SettingsPage page;
    QWidget *widget = nullptr;
    try {
        widget = page.widget(nullptr);
    } catch (const _com_error &) {
        QCOMPARE(step, Step::SysAllocString);
    }
    const winapi_seam::Counters live = winapi_seam::counters();
    QVERIFY2(live.apartmentDepth <= 1 && nothingLive(live.apartmentDepth), qPrintable(liveText()));
    leaveApartments();
    winapi_seam::reset();
    QCOMPARE(host.peers->appStore->entries(), app);
    QCOMPARE(host.peers->hwupStore->entries(), hwup);
    if (!widget)
        return;

    QStringList listed;
    auto *ip = child<QComboBox>(widget, "comboBox_ip_list");
    for (int i = 0; i < ip->count(); ++i)
        listed << ip->itemText(i);
    for (const QString &address : listed)
        QVERIFY2(kAddresses.contains(address), qPrintable(address));
    QCOMPARE(child<QComboBox>(widget, "comboBox_fps")->currentIndex(), 5);
    QCOMPARE(child<QComboBox>(widget, "comboBox_tc_pps")->currentText(), QStringLiteral("30"));

    QVERIFY(page.apply());
    Entries expected = hwup;
    expected["settings.hwup.ip"] =
            listed.contains("192.168.0.10") ? "192.168.0.10" : listed.value(0).toStdString();
    QCOMPARE(host.peers->hwupStore->entries(), expected);
    QCOMPARE(host.peers->appStore->entries(), app);
}

void tst_Faults::lookupFails_data()
{
    QTest::addColumn<QByteArray>("module");
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<int>("nth");
    for (const char *module : {"vendrel-studio", "dev_hwup"})
        for (const char *operation : {"load", "apply", "restoreDefaults"})
            for (int nth = 0; nth < 6; ++nth)
                QTest::addRow("%s %s look-up #%d", module, operation, nth)
                        << QByteArray(module) << QByteArray(operation) << nth;
}

// Guards the host contract under a peer that goes away at any look-up: the
// operation ends in std::system_error (restore-defaults skips the store), a
// failed save changes no value, a load writes nothing, nothing of COM leaks.
void tst_Faults::lookupFails()
{
    QFETCH(QByteArray, module);
    QFETCH(QByteArray, operation);
    QFETCH(int, nth);
    PageTestHost host(kAddresses);
    host.store(kStored);
    SettingsPage page;
    if (operation != "load")
        page.widget(nullptr);
    const Entries app = host.peers->appStore->entries();
    const Entries hwup = host.peers->hwupStore->entries();

    // Look-up nth (from 0) of the module is the first to fail.
    int seen = 0;
    bool failed = false;
    if (nth == 0)
        PageTestHost::app().removeModule(module.toStdString());
    PageTestHost::app().setLookupObserver([&](const orvane::StudioApplication::Lookup &lookup) {
        if (lookup.name == module.toStdString()) {
            failed = failed || !lookup.found;
            if (++seen == nth)
                PageTestHost::app().removeModule(module.toStdString());
        }
    });
    bool threw = false;
    try {
        if (operation == "restoreDefaults")
            page.restoreDefaults();
        else if (operation == "apply")
            page.apply();
        else
            page.widget(nullptr);
    } catch (const std::system_error &) {
        threw = true;
    }
    PageTestHost::app().setLookupObserver({});
    QVERIFY2(nothingLive(), qPrintable(liveText()));
    if (operation == "restoreDefaults") {
        // A store that was found is cleared of the six keys, another keeps all.
        QVERIFY(host.peers->appStore->entries().empty() || host.peers->appStore->entries() == app);
        QVERIFY(host.peers->hwupStore->entries().empty() ||
                host.peers->hwupStore->entries() == hwup);
        return;
    }
    QCOMPARE(threw, failed);
    if (threw || operation == "load") {
        QCOMPARE(host.peers->appStore->entries(), app);
        QCOMPARE(host.peers->hwupStore->entries(), hwup);
    }
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
