#include "settings/SettingsPage.h"
#include "tests/SeamFixture.h"
#include "tests/settings/PageTestHost.h"

#include <winapi/ComBase.h>
#include <winapi/ComDef.h>

#include <QtTest>

namespace {

using Step = winapi_seam::Step;
// clang-format off
const QMap<QString, Step> kSteps{
        {"CoInitializeEx", Step::CoInitializeEx}, {"CoCreateInstance", Step::CoCreateInstance},
        {"CoInitializeSecurity", Step::CoInitializeSecurity}, {"ExecQuery", Step::ExecQuery},
        {"ConnectServer", Step::ConnectServer}, {"CoSetProxyBlanket", Step::CoSetProxyBlanket},
        {"Next", Step::Next}, {"Get", Step::Get}, {"SysAllocString", Step::SysAllocString}};
// clang-format on

// A connect that fails after entering the apartment leaves the thread in it:
// the client ends only a successful connect's use. The test thread leaves
// it, so the next case starts clean.
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
    QTest::addColumn<QString>("target"); // a COM step or a peer module
    QTest::addColumn<int>("nth"); // the call that fails, from 0
    QTest::addColumn<QString>("operation");
    // Two adapters: later calls than the tenth of a step never come.
    for (const QString &step : kSteps.keys())
        for (int nth = 0; nth < 10; ++nth)
            QTest::addRow("load, %s #%d", qPrintable(step), nth) << step << nth << "load";
    for (const char *module : {"vendrel-studio", "dev_hwup"})
        for (const char *operation : {"load", "apply", "restore"})
            for (int nth = 0; nth < 6; ++nth)
                QTest::addRow("%s, %s look-up #%d", operation, module, nth)
                        << module << nth << operation;
}

// Guards against a fault breaking the page or the host's data: a WMI
// failure gives fewer or no addresses, never invented ones, and only a
// failed BSTR allocation ends the load (as _com_error); a peer that goes
// away at any look-up ends the operation in std::system_error (restoring
// the defaults skips its store) and leaves no box of the kept page with
// its signals blocked; no value is lost or changed.
void tst_Faults::faultDuring()
{
    QFETCH(QString, target);
    QFETCH(int, nth);
    QFETCH(QString, operation);
    PageTestHost host; // two adapters: 192.168.0.10 and 10.0.0.2
    // Values a save writes back unchanged, so a save leaves the stores equal.
    host.given({"work=UNI", "ip=192.168.0.10", "fps=120", "tc=30", "enable=true",
                "mode=magnetic immunity"});
    const auto app = host.peers->appStore->entries();
    const auto hwup = host.peers->hwupStore->entries();
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
    if (QWidget *kept = page.currentWidget())
        QVERIFY(!child<QComboBox>(kept, "comboBox_fps")->signalsBlocked());
    const long apartments = winapi_seam::counters().apartmentDepth;
    QVERIFY2(apartments <= 1 && nothingLive(apartments), qPrintable(liveText()));
    leaveApartments();
    winapi_seam::reset();
    QVERIFY(threw != "com" || target == "SysAllocString");
    if (operation != "restore")
        QCOMPARE(threw == "host", lookupFailed);
    // Restoring the defaults clears each store whose peer it found.
    for (const auto &[store, before, peer] :
         {std::tuple(host.peers->appStore.get(), app, "vendrel-studio"),
          std::tuple(host.peers->hwupStore.get(), hwup, "dev_hwup")})
        QVERIFY(operation == "restore" && (nth > 0 || target != peer) ? store->entries().empty()
                                                                      : store->entries() == before);
    if (!kSteps.contains(target) || !threw.isEmpty())
        return;

    // The rest of the load is untouched by a fault of the scan, and a save
    // keeps every value but the address, which is what the page now offers.
    auto *ip = child<QComboBox>(page.currentWidget(), "comboBox_ip_list");
    for (int i = 0; i < ip->count(); ++i)
        QVERIFY2(QStringList({"10.0.0.2", "192.168.0.10"}).contains(ip->itemText(i)),
                 qPrintable(ip->itemText(i)));
    QCOMPARE(PageTestHost::shown(page.currentWidget()).section(" | ", 2),
             "fps 120  *No Glove(s) | tc None,24,*30,Local Time | mode Magnetic Immunity");
    QVERIFY(page.apply());
    QCOMPARE(ip->currentText() == "192.168.0.10", ip->findText("192.168.0.10") >= 0);
    QCOMPARE(host.changes(),
             QStringList({"work=UNI", "ip=" + ip->currentText(), "fps=120", "tc=30",
                          "mode=magnetic immunity"}));
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
