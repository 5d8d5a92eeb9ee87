#include "settings/SettingsPage.h"
#include "tests/settings/PageTestHost.h"

#include <winapi/ComBase.h>
#include <winapi/ComDef.h>
#include <winapi/WinapiSeam.h>

#include "tests/SeamCounters.h"

#include <QtTest>

#include <map>
#include <string>
#include <system_error>

namespace {

using Step = winapi_seam::Step;
using Entries = std::map<std::string, std::string>;

const QStringList kAddresses{"10.0.0.2", "192.168.0.10"};
// Every key of the page stored in both stores, values that a save writes
// back unchanged (so a save leaves the stores equal), and a key of someone
// else's in each.
void storeEverything(HostPeers &peers)
{
    for (MemorySettingsStore *store : {peers.appStore.get(), peers.hwupStore.get()}) {
        store->setValue("current_workmode", "UNI");
        store->setValue("settings.hwup.ip", "192.168.0.10");
        store->setValue("settings.hwup.capturefps", "120");
        store->setValue("settings.hwup.local_timecode_rate", "30");
        store->setValue("settings.hwup.enableconnectionmode", "true");
        store->setValue("settings.hwup.connectionmode", "magnetic immunity");
        store->setValue("someone.else", "kept");
    }
}

// A connect that fails after entering the apartment stays in it: only
// `close` after a successful connect leaves (CoUninitialize after a failed
// CoInitializeEx would break the host's other COM users). The test thread
// leaves what such a connect left, so the next case starts clean.
void leaveApartments()
{
    while (winapi_seam::counters().apartmentDepth > 0)
        CoUninitialize();
}

QStringList listedAddresses(QWidget *page)
{
    auto *box = child<QComboBox>(page, "comboBox_ip_list");
    return box ? itemTexts(box) : QStringList{QStringLiteral("<no address box>")};
}

} // namespace

Q_DECLARE_METATYPE(Step)

// Faults injected through the COM/WMI stand-in and the host at each step of
// a page load and save: the page ends in its documented state, the stores
// keep what they held, and nothing of COM stays alive.
class tst_Faults : public QObject
{
    Q_OBJECT

private slots:
    void comStepFailsDuringLoad_data();
    void comStepFailsDuringLoad();
    void lookupFailsDuringOperation_data();
    void lookupFailsDuringOperation();
};

void tst_Faults::comStepFailsDuringLoad_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("nth");
    QTest::addColumn<bool>("connectStep");
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
    for (const auto &step : steps) {
        const bool connectStep = step.second != Step::ExecQuery && step.second != Step::Next &&
                step.second != Step::Get && step.second != Step::SysAllocString;
        // Two adapters: three queries, seven enumerator steps, six property
        // reads and a few BSTRs; later calls than these never come.
        for (int nth = 0; nth < 10; ++nth)
            QTest::addRow("%s #%d", step.first, nth) << step.second << nth << connectStep;
    }
}

// Guards against a WMI failure breaking the page (exception, lost settings,
// leaked COM objects, an apartment left open): the page loads with fewer or
// no addresses; only a failed BSTR allocation may end the load, as a
// _com_error, and even then everything is released.
void tst_Faults::comStepFailsDuringLoad()
{
    QFETCH(Step, step);
    QFETCH(int, nth);
    QFETCH(bool, connectStep);
    PageTestHost host;
    host.scriptAdapters(kAddresses);
    storeEverything(*host.peers);
    const Entries app = host.peers->appStore->entries();
    const Entries hwup = host.peers->hwupStore->entries();
    leaveApartments();
    QVERIFY2(nothingLive(), qPrintable(liveText()));

    // RPC_E_TOO_LATE is the one CoInitializeSecurity failure a connect accepts.
    winapi_seam::failStep(step, E_FAIL, nth, 1);
    SettingsPage page;
    QWidget *widget = nullptr;
    bool comError = false;
    try {
        widget = page.widget(nullptr);
    } catch (const _com_error &) {
        comError = true;
        widget = page.currentWidget();
    }
    QVERIFY(!comError || step == Step::SysAllocString);
    QVERIFY(widget);
    // Only a connect step after CoInitializeEx (or a BSTR of the connect)
    // leaves the apartment entered, once.
    const bool enteredOnly = nth == 0 && connectStep && step != Step::CoInitializeEx;
    const long apartments = winapi_seam::counters().apartmentDepth;
    QVERIFY2(nothingLive(enteredOnly ? 1 : apartments) &&
                     apartments <= (enteredOnly || step == Step::SysAllocString ? 1 : 0),
             qPrintable(liveText()));
    leaveApartments();

    const QStringList listed = listedAddresses(widget);
    if (nth == 0 && (connectStep || step == Step::ExecQuery))
        QCOMPARE(listed, QStringList());
    // A fault ends the scan early or skips an adapter, never invents one.
    for (const QString &address : listed)
        QVERIFY2(kAddresses.contains(address), qPrintable(address));
    if (!comError) {
        // The rest of the load is untouched by the scan's fault.
        QCOMPARE(child<QComboBox>(widget, "comboBox_fps")->currentIndex(), 5);
        QCOMPARE(child<QComboBox>(widget, "comboBox_tc_pps")->currentText(), QStringLiteral("30"));
    }
    QCOMPARE(host.peers->appStore->entries(), app);
    QCOMPARE(host.peers->hwupStore->entries(), hwup);

    // A save after the fault keeps every value but the address, which is
    // what the page now offers. (After a load that threw, the dialog got the
    // exception instead of a page; its form holds no stored values to save.)
    winapi_seam::reset();
    if (comError) {
        page.releaseWidget(true);
        QVERIFY2(nothingLive(), qPrintable(liveText()));
        return;
    }
    QVERIFY(page.apply());
    Entries expected = hwup;
    expected["settings.hwup.ip"] = listed.isEmpty() ? std::string() : listed.first().toStdString();
    if (listed.contains(QStringLiteral("192.168.0.10")))
        expected["settings.hwup.ip"] = "192.168.0.10";
    QCOMPARE(host.peers->hwupStore->entries(), expected);
    QCOMPARE(host.peers->appStore->entries(), app);
    page.releaseWidget(true);
    QVERIFY2(nothingLive(), qPrintable(liveText()));
}

void tst_Faults::lookupFailsDuringOperation_data()
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
// failure leaves the operation as std::system_error (restore-defaults skips
// a store it cannot find), nothing is written to a store the save could not
// finish, every value of someone else's stays, and nothing of COM leaks.
void tst_Faults::lookupFailsDuringOperation()
{
    QFETCH(QByteArray, module);
    QFETCH(QByteArray, operation);
    QFETCH(int, nth);
    PageTestHost host;
    host.scriptAdapters(kAddresses);
    storeEverything(*host.peers);
    orvane::StudioApplication &app = PageTestHost::app();

    SettingsPage page;
    if (operation != "load")
        page.widget(nullptr);
    const Entries appBefore = host.peers->appStore->entries();
    const Entries hwupBefore = host.peers->hwupStore->entries();

    // Look-up number `nth` of the module (counting from 0) is the first to
    // fail: the module goes away right after look-up nth - 1.
    int seen = 0;
    bool failed = false;
    if (nth == 0)
        app.removeModule(module.toStdString());
    app.setLookupObserver([&](const orvane::StudioApplication::Lookup &lookup) {
        if (lookup.name != module.toStdString())
            return;
        failed = failed || !lookup.found;
        if (++seen == nth)
            app.removeModule(module.toStdString());
    });

    bool threw = false;
    try {
        if (operation == "load")
            page.widget(nullptr);
        else if (operation == "apply")
            page.apply();
        else
            page.restoreDefaults();
    } catch (const std::system_error &) {
        threw = true;
    }
    app.setLookupObserver({});

    if (operation != "restoreDefaults")
        QCOMPARE(threw, failed);
    QVERIFY2(nothingLive(), qPrintable(liveText()));
    const Entries appAfter = host.peers->appStore->entries();
    const Entries hwupAfter = host.peers->hwupStore->entries();
    QCOMPARE(appAfter.at("someone.else"), std::string("kept"));
    QCOMPARE(hwupAfter.at("someone.else"), std::string("kept"));
    if (operation == "restoreDefaults") {
        // A store that was found is cleared of the six keys; one that was not
        // keeps them all.
        for (const Entries *store : {&appAfter, &hwupAfter}) {
            const Entries &before = store == &appAfter ? appBefore : hwupBefore;
            const bool cleared = store->size() == 1;
            QVERIFY(cleared || *store == before);
        }
    } else {
        // A failed save wrote nothing that changes a value (the work mode it
        // may have written first is the one stored); a load writes nothing.
        if (threw || operation == "load") {
            QCOMPARE(appAfter, appBefore);
            QCOMPARE(hwupAfter, hwupBefore);
        }
    }
    page.releaseWidget(true);
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
