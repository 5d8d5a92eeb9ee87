#include "host/AbstractSettingsPage.h"
#include "host/ModuleRef.h"
#include "plugin/UisDevModule.h"
#include "studio/orvane/ModuleError.h"
#include "tests/settings/PageTestHost.h"

#include <QtTest>

#include <typeindex>

// The built uis_dev.plg, loaded as the host loads it.
class tst_Plugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(library.load(), qPrintable(library.errorString())); }
    void entryPoints();
    void factoryAndInit_data();
    void factoryAndInit();

private:
    QLibrary library{QStringLiteral(UIS_DEV_PLUGIN)};
};

// Guards the loader's contract: the two entry points are all the plug-in
// exports, and the descriptor is one exact static text.
void tst_Plugin::entryPoints()
{
    QProcess nm;
    nm.start("nm", {"-D", "--defined-only", "--format=just-symbols", UIS_DEV_PLUGIN});
    QVERIFY(nm.waitForFinished() && nm.exitCode() == 0);
    QStringList exported = QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n');
    for (const char *linkerMade : {"", "_init", "_fini", "_edata", "_end", "__bss_start"})
        exported.removeAll(linkerMade);
    QCOMPARE(exported,
             QStringList({"VD_GetPluginInfo", "__orvane_internal_create_uis_dev_module__"}));
    const auto info = reinterpret_cast<const char *(*)()>(library.resolve("VD_GetPluginInfo"));
    QVERIFY(info && info() == info());
    QCOMPARE(info(),
             "{\"architecture\":\"3.1.2.1\",\"name\":\"uis_dev\",\"module_entry\":"
             "\"__orvane_internal_create_uis_dev_module__\"}");
}

void tst_Plugin::factoryAndInit_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::newRow("with the settings dialog") << true;
    QTest::newRow("without it") << false;
}

// Guards the factory (flag declared off, handle typed by the interface, its
// identity presented on look-ups) and init: the page goes to "uis_manager" in
// group 4 and is owned only there, uninit keeps it, a failed look-up leaves
// init as the host's error, and releasing the handle destroys the module.
void tst_Plugin::factoryAndInit()
{
    QFETCH(bool, dialog);
    PageTestHost host;
    orvane::StudioApplication &app = PageTestHost::app();
    if (!dialog)
        app.removeModule("uis_manager");
    std::vector<orvane::StudioApplication::Lookup> lookups;
    app.setLookupObserver([&](const auto &lookup) { lookups.push_back(lookup); });
    const auto factory = reinterpret_cast<orvane::ModuleRef *(*)(FlagRegistry *)>(
            library.resolve("__orvane_internal_create_uis_dev_module__"));
    std::unique_ptr<orvane::ModuleRef> handle(factory(&app.flags()));
    QCOMPARE(app.hostFlags().declaredDefault("uis_dev.hyper_fps"), std::optional<int>(0));
    QCOMPARE(QByteArray(handle->interfaceType().name()), QByteArray(typeid(UisDevModule).name()));
    std::error_code code;
    try {
        QVERIFY(handle->module()->init(app));
    } catch (const std::system_error &e) {
        code = e.code();
        QCOMPARE(std::string(e.what()), code.message()); // no text of the plug-in's own
    }
    QCOMPARE(code, dialog ? std::error_code() : make_error_code(orvane::ModuleError::NoSuchModule));
    QCOMPARE(lookups.size(), size_t(1));
    QCOMPARE(lookups[0].requester, handle->moduleId());
    QVERIFY(lookups[0].type == std::type_index(typeid(UisManagerModule)));
    handle->module()->uninit();
    const auto &pages = host.peers->uisManager->pages().pages();
    QCOMPARE(pages.size(), size_t(dialog ? 1 : 0));
    std::weak_ptr<AbstractSettingsPage> page = dialog ? pages.front().page : nullptr;
    QVERIFY(!dialog || (pages.front().group == 4 && page.lock()->id() == "Device"));
    host.peers->uisManager->pages().clear();
    QVERIFY(page.expired());
    std::weak_ptr<orvane::AbstractModule> module = handle->module();
    handle.reset();
    QVERIFY(module.expired());
}

QTEST_MAIN(tst_Plugin)
#include "tst_plugin.moc"
