#include "host/AbstractSettingsPage.h"
#include "host/DevHwupModule.h"
#include "host/ModuleRef.h"
#include "plugin/ModuleLookup.h"
#include "plugin/UisDevModule.h"
#include "studio/orvane/ModuleError.h"
#include "tests/settings/PageTestHost.h"

#include <QtTest>

#include <typeindex>

class tst_Plugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(library.load(), qPrintable(library.errorString())); }
    void entryPoints();
    void factoryAndInit_data();
    void factoryAndInit();
    void lookup_data();
    void lookup();

private:
    QLibrary library{QStringLiteral(UIS_DEV_PLUGIN)};
};

// Guards the loader's contract: the two entry points are all the plug-in
// exports, and the descriptor is one exact static text.
void tst_Plugin::entryPoints()
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {"-D", "--defined-only", QStringLiteral(UIS_DEV_PLUGIN)});
    QVERIFY(nm.waitForFinished() && nm.exitCode() == 0);
    const QStringList linkerMade{"_init", "_fini", "_edata", "_end", "__bss_start"};
    QStringList exported;
    for (const QString &line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        if (!line.isEmpty() && !linkerMade.contains(line.section(' ', 2)))
            exported << line.section(' ', 2);
    }
    exported.sort();
    QCOMPARE(exported,
             QStringList({"VD_GetPluginInfo", "__orvane_internal_create_uis_dev_module__"}));
    const auto info = reinterpret_cast<const char *(*)()>(library.resolve("VD_GetPluginInfo"));
    QVERIFY(info && info() == info());
    QCOMPARE(QByteArray(info()),
             QByteArray("{\"architecture\":\"3.1.2.1\",\"name\":\"uis_dev\","
                        "\"module_entry\":\"__orvane_internal_create_uis_dev_"
                        "module__\"}"));
}

void tst_Plugin::factoryAndInit_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::newRow("with the settings dialog") << true;
    QTest::newRow("without it") << false;
}

// Guards the factory (flag declared off, handle typed by the interface, the
// identity presented on look-ups) and init: the page goes to "uis_manager" in
// group 4 and is owned only there, uninit keeps it, a failed look-up is
// thrown with the host's code, and releasing the handle destroys the module.
void tst_Plugin::factoryAndInit()
{
    QFETCH(bool, dialog);
    PageTestHost host;
    orvane::StudioApplication &app = PageTestHost::app();
    if (!dialog)
        app.removeModule("uis_manager");
    std::vector<const void *> requesters;
    app.setLookupObserver([&](const auto &l) { requesters.push_back(l.requester); });
    const auto factory = reinterpret_cast<orvane::ModuleRef *(*)(FlagRegistry *)>(
            library.resolve("__orvane_internal_create_uis_dev_module__"));
    QVERIFY(factory);
    std::unique_ptr<orvane::ModuleRef> handle(factory(&app.flags()));
    QCOMPARE(app.hostFlags().declaredDefault("uis_dev.hyper_fps"), std::optional<int>(0));
    QCOMPARE(QByteArray(handle->interfaceType().name()), QByteArray(typeid(UisDevModule).name()));

    std::error_code code;
    try {
        QVERIFY(handle->module()->init(app));
    } catch (const std::system_error &e) {
        code = e.code();
    }
    QCOMPARE(code, dialog ? std::error_code() : make_error_code(orvane::ModuleError::NoSuchModule));
    QCOMPARE(requesters, std::vector<const void *>{handle->moduleId()});
    handle->module()->uninit();
    const auto &pages = host.peers->uisManager->pages().pages();
    QCOMPARE(pages.size(), size_t(dialog ? 1 : 0));
    if (dialog) {
        QCOMPARE(pages.front().group, 4);
        QCOMPARE(pages.front().page->id(), std::string("Device"));
        std::weak_ptr<AbstractSettingsPage> page = pages.front().page;
        QCOMPARE(page.use_count(), 1L);
        host.peers->uisManager->pages().clear();
        QVERIFY(page.expired());
    }
    std::weak_ptr<orvane::AbstractModule> module = handle->module();
    handle.reset();
    QVERIFY(module.expired());
}

void tst_Plugin::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("identitySet");
    QTest::addColumn<int>("code"); // 0: found
    QTest::newRow("found") << "dev_hwup" << true << 0;
    QTest::newRow("before the factory set an identity") << "dev_hwup" << false << 0;
    QTest::newRow("no such module") << "no_such" << true << int(orvane::ModuleError::NoSuchModule);
    QTest::newRow("name in capitals")
            << "DEV_HWUP" << true << int(orvane::ModuleError::NoSuchModule);
    QTest::newRow("another interface")
            << "vendrel-studio" << true << int(orvane::ModuleError::WrongInterface);
}

// Guards both look-up forms: the module found by its interface type with the
// plug-in's identity; a failure as null plus the host's code, or thrown as
// std::system_error with exactly that code and no text of its own.
void tst_Plugin::lookup()
{
    QFETCH(QString, name);
    QFETCH(bool, identitySet);
    QFETCH(int, code);
    PageTestHost host;
    orvane::StudioApplication &app = PageTestHost::app();
    std::vector<orvane::StudioApplication::Lookup> seen;
    app.setLookupObserver([&](const auto &l) { seen.push_back(l); });
    const int token = 0;
    setModuleIdentity(identitySet ? &token : nullptr);
    const QByteArray n = name.toUtf8();

    std::error_code ec = make_error_code(orvane::ModuleError::NoSuchModule); // cleared on success
    DevHwupModule *found = tryLookupModule<DevHwupModule>(app, n.constData(), ec);
    QCOMPARE(ec.value(), code);
    QCOMPARE(found, code ? nullptr : host.peers->devHwup.get());
    try {
        QCOMPARE(lookupModule<DevHwupModule>(app, n.constData()), found);
        QCOMPARE(code, 0);
    } catch (const std::system_error &e) {
        QCOMPARE(e.code(), ec);
        QCOMPARE(std::string(e.what()), ec.message());
    }
    QCOMPARE(seen.size(), size_t(2));
    QCOMPARE(seen[1].requester, identitySet ? static_cast<const void *>(&token) : nullptr);
    QVERIFY(seen[1].type == std::type_index(typeid(DevHwupModule)));
    setModuleIdentity(nullptr);
}

QTEST_MAIN(tst_Plugin)
#include "tst_plugin.moc"
