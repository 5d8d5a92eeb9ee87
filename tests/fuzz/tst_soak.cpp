#include "host/ModuleRef.h"
#include "settings/SettingsPage.h"
#include "tests/SeamCounters.h"
#include "tests/settings/PageTestHost.h"

#include <QtTest>

#include <dlfcn.h>

#include <memory>

namespace {
using Factory = orvane::ModuleRef *(*)(FlagRegistry *);
constexpr int kCycles = 1000;

} // namespace

// Many cycles in one process, as a host that runs for days sees them.
// Correctness only: timing and memory growth are the benchmarks' business.
class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void pluginLoadInitRelease();
    void pageWidgetCycles_data();
    void pageWidgetCycles();
};

// Guards against state that survives a plug-in's unload (a dangling page,
// a module that outlives its handle, a stale identity): every cycle loads
// the library, creates and inits the module, and releases all of it.
void tst_Soak::pluginLoadInitRelease()
{
    PageTestHost host;
    orvane::StudioApplication &app = PageTestHost::app();
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        void *library = dlopen(UIS_DEV_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(library, dlerror());
        const auto factory = reinterpret_cast<Factory>(
                dlsym(library, "__orvane_internal_create_uis_dev_module__"));
        QVERIFY(factory);
        {
            std::unique_ptr<orvane::ModuleRef> handle(factory(&app.flags()));
            // The weak pointers' control blocks were made by the plug-in's
            // code: they must go before the library is unloaded.
            std::weak_ptr<orvane::AbstractModule> module = handle->module();
            QVERIFY(handle->module()->init(app));
            const auto &pages = host.peers->uisManager->pages().pages();
            QCOMPARE(pages.size(), size_t(1));
            std::weak_ptr<AbstractSettingsPage> page = pages.front().page;
            // Every few cycles the dialog shows the page before the host quits.
            if (cycle % 10 == 0)
                QVERIFY(pages.front().page->widget(nullptr));

            host.peers->uisManager->pages().clear();
            QVERIFY(page.expired());
            handle.reset();
            QVERIFY(module.expired());
        }
        QCOMPARE(dlclose(library), 0);
        QVERIFY(nothingLive());
    }
}

void tst_Soak::pageWidgetCycles_data()
{
    QTest::addColumn<bool>("hyperFps");
    QTest::addColumn<bool>("destroy");
    QTest::newRow("normal, released and destroyed") << false << true;
    QTest::newRow("normal, released to the dialog") << false << false;
    QTest::newRow("hyper, released and destroyed") << true << true;
}

// Guards against a widget cycle that leaks COM objects, keeps an apartment
// open, or drifts from the stored values (e.g. the address list growing on
// each load): every widget shows the same stored values.
void tst_Soak::pageWidgetCycles()
{
    QFETCH(bool, hyperFps);
    QFETCH(bool, destroy);
    PageTestHost host;
    host.setHyperFps(hyperFps);
    host.peers->hwupStore->setValue("settings.hwup.capturefps", "120");
    host.peers->hwupStore->setValue("settings.hwup.local_timecode_rate", "30");
    host.peers->hwupStore->setValue("settings.hwup.ip", "10.0.0.2");
    SettingsPage page;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        std::unique_ptr<QWidget> owned;
        QWidget *widget = page.widget(nullptr);
        QVERIFY(widget);
        auto *ip = child<QComboBox>(widget, "comboBox_ip_list");
        QCOMPARE(ip->count(), 2);
        QCOMPARE(ip->currentText(), QStringLiteral("10.0.0.2"));
        QCOMPARE(child<QComboBox>(widget, "comboBox_fps")->currentText().left(3),
                 QStringLiteral("120"));
        if (cycle % 100 == 0)
            QVERIFY(page.apply());
        page.releaseWidget(destroy);
        if (!destroy)
            owned.reset(widget); // the dialog's to delete now
        QVERIFY(nothingLive());
    }
    QCOMPARE(host.peers->hwupStore->value("settings.hwup.capturefps", ""), std::string("120"));
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
