#include "host/ModuleRef.h"
#include "settings/SettingsPage.h"
#include "tests/SeamCounters.h"
#include "tests/settings/PageTestHost.h"

#include <QComboBox>
#include <QtTest>

#include <dlfcn.h>

// Many cycles in one process, as a host that runs for days sees them.
// Correctness only: timing and memory growth are the benchmarks' business.
class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void pluginCycles();
    void pageWidgetCycles_data();
    void pageWidgetCycles();
};

// Guards against state that survives a plug-in's unload (a dangling page, a
// module that outlives its handle, a stale identity, COM left alive).
void tst_Soak::pluginCycles()
{
    PageTestHost host;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        void *library = dlopen(UIS_DEV_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(library, dlerror());
        const auto factory = reinterpret_cast<orvane::ModuleRef *(*)(FlagRegistry *)>(
                dlsym(library, "__orvane_internal_create_uis_dev_module__"));
        QVERIFY(factory);
        {
            std::unique_ptr<orvane::ModuleRef> handle(factory(&PageTestHost::app().flags()));
            // Control blocks made by the plug-in's code go before it unloads.
            std::weak_ptr<orvane::AbstractModule> module = handle->module();
            QVERIFY(handle->module()->init(PageTestHost::app()));
            const auto &pages = host.peers->uisManager->pages().pages();
            QCOMPARE(pages.size(), size_t(1));
            std::weak_ptr<AbstractSettingsPage> page = pages.front().page;
            if (cycle % 10 == 0) // now and then the dialog shows the page first
                QVERIFY(pages.front().page->widget(nullptr));
            host.peers->uisManager->pages().clear();
            handle.reset();
            QVERIFY(page.expired() && module.expired());
        }
        QCOMPARE(dlclose(library), 0);
        QVERIFY2(nothingLive(), qPrintable(liveText()));
    }
}

void tst_Soak::pageWidgetCycles_data()
{
    QTest::addColumn<bool>("hyperFps");
    QTest::addColumn<bool>("destroy");
    QTest::newRow("normal, deleted") << false << true;
    QTest::newRow("normal, released to the dialog") << false << false;
    QTest::newRow("hyper, deleted") << true << true;
}

// Guards against a widget cycle that leaks COM, keeps an apartment open or
// drifts from the stored values (e.g. the address list growing per load).
void tst_Soak::pageWidgetCycles()
{
    QFETCH(bool, hyperFps);
    QFETCH(bool, destroy);
    PageTestHost host;
    host.setHyperFps(hyperFps);
    host.store({"fps=120", "tc=30", "ip=10.0.0.2"});
    SettingsPage page;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        QWidget *widget = page.widget(nullptr);
        auto *ip = child<QComboBox>(widget, "comboBox_ip_list");
        QCOMPARE(ip->count(), 2);
        QCOMPARE(ip->currentText(), QStringLiteral("10.0.0.2"));
        QVERIFY(child<QComboBox>(widget, "comboBox_fps")->currentText().startsWith("120"));
        if (cycle % 100 == 0)
            QVERIFY(page.apply());
        page.releaseWidget(destroy);
        if (!destroy)
            delete widget; // the dialog's to delete now
        QVERIFY2(nothingLive(), qPrintable(liveText()));
    }
    QCOMPARE(host.peers->hwupStore->value("settings.hwup.capturefps", ""), std::string("120"));
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
