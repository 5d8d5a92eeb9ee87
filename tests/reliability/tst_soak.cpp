#include "host/ModuleRef.h"
#include "settings/SettingsPage.h"
#include "tests/SeamFixture.h"
#include "tests/settings/PageTestHost.h"

#include <QtTest>

#include <dlfcn.h>

// Many cycles in one process, as a host that runs for days sees them.
// Correctness only: timing and memory growth are the benchmarks' business.
class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void cycles_data();
    void cycles();
};

void tst_Soak::cycles_data()
{
    QTest::addColumn<QString>("cycle");
    QTest::newRow("plug-in load, init, release") << "plugin";
    QTest::newRow("page widget, deleted") << "delete";
    QTest::newRow("page widget, released to the dialog") << "release";
    QTest::newRow("hyper page widget, deleted") << "hyper";
}

// Guards against state that outlives a cycle: a dangling page, a module that
// outlives its handle or its library, COM left alive or an apartment open,
// and pages drifting from the stored values (an address list that grows).
void tst_Soak::cycles()
{
    QFETCH(QString, cycle);
    PageTestHost host;
    host.given({"fps=120", "tc=30", "ip=10.0.0.2", cycle == "hyper" ? "hyper" : "hyper=off"});
    SettingsPage page;
    for (int i = 0; i < 1000; ++i) {
        if (cycle == "plugin") {
            void *library = dlopen(UIS_DEV_PLUGIN, RTLD_NOW | RTLD_LOCAL);
            QVERIFY2(library, dlerror());
            const auto factory = reinterpret_cast<orvane::ModuleRef *(*)(FlagRegistry *)>(
                    dlsym(library, "__orvane_internal_create_uis_dev_module__"));
            std::unique_ptr<orvane::ModuleRef> handle(factory(&PageTestHost::app().flags()));
            // Control blocks made by the plug-in's code go before it unloads.
            std::weak_ptr<orvane::AbstractModule> module = handle->module();
            QVERIFY(handle->module()->init(PageTestHost::app()));
            std::weak_ptr<AbstractSettingsPage> added =
                    host.peers->uisManager->pages().pages().at(0).page;
            if (i % 10 == 0) // now and then the dialog shows the page first
                QVERIFY(added.lock()->widget(nullptr));
            host.peers->uisManager->pages().clear();
            handle.reset();
            QVERIFY(added.expired() && module.expired());
            module.reset();
            added.reset();
            QCOMPARE(dlclose(library), 0);
        } else {
            QWidget *widget = page.widget(nullptr);
            const QString shown = PageTestHost::shown(widget);
            QVERIFY2(shown.contains("| ip 10.0.0.2/2 | fps 120"), qPrintable(shown));
            if (i % 100 == 0)
                QVERIFY(page.apply());
            page.releaseWidget(cycle != "release");
            if (cycle == "release")
                delete widget; // the dialog's to delete now
        }
        QVERIFY2(nothingLive(), qPrintable(liveText()));
    }
    QCOMPARE(host.peers->hwupStore->value("settings.hwup.capturefps", ""), std::string("120"));
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
