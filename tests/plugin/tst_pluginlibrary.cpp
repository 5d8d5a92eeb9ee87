#include "host/AbstractSettingsPage.h"
#include "host/ModuleRef.h"
#include "plugin/UisDevModule.h"
#include "studio/orvane/ModuleError.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <QtTest>

#include <memory>

namespace {
using Descriptor = const char *(*)();
using Factory = orvane::ModuleRef *(*)(FlagRegistry *);
const char kDescriptor[] = "{\"architecture\":\"3.1.2.1\",\"name\":\"uis_dev\","
                           "\"module_entry\":\"__orvane_internal_create_uis_dev_module__\"}";
} // namespace

// The built uis_dev.plg, loaded as the host loads it.
class tst_PluginLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { app.reset(); }
    void cleanup() { app.reset(); }
    void exportsOnlyTheEntryPoints();
    void descriptorIsStaticAndExact();
    void factoryDeclaresFlagAndReturnsInterfaceHandle();
    void initHandsThePageToTheDialog();
    void initWithoutDialogThrowsTheHostsError();

private:
    std::unique_ptr<orvane::ModuleRef> create();

    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    QLibrary library{QStringLiteral(UIS_DEV_PLUGIN)};
    Factory factory = nullptr;
};

void tst_PluginLibrary::initTestCase()
{
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    factory =
            reinterpret_cast<Factory>(library.resolve("__orvane_internal_create_uis_dev_module__"));
    QVERIFY(factory);
}

std::unique_ptr<orvane::ModuleRef> tst_PluginLibrary::create()
{
    return std::unique_ptr<orvane::ModuleRef>(factory(&app.flags()));
}

// Guards against leaking any of the plug-in's internals into the host's
// symbol space: only the two entry points may be exported.
void tst_PluginLibrary::exportsOnlyTheEntryPoints()
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {"-D", "--defined-only", QStringLiteral(UIS_DEV_PLUGIN)});
    QVERIFY(nm.waitForFinished());
    QCOMPARE(nm.exitCode(), 0);
    // Symbols the linker itself defines in every shared object.
    const QStringList linkerSymbols{"_init", "_fini", "_edata", "_end", "__bss_start"};
    QStringList exported;
    for (const QString &line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        if (fields.size() == 3 && !linkerSymbols.contains(fields[2]))
            exported << fields[2];
    }
    exported.sort();
    QCOMPARE(exported,
             QStringList({"VD_GetPluginInfo", "__orvane_internal_create_uis_dev_module__"}));
}

// Guards the loader's contract: exact text, one static buffer.
void tst_PluginLibrary::descriptorIsStaticAndExact()
{
    const auto info = reinterpret_cast<Descriptor>(library.resolve("VD_GetPluginInfo"));
    QVERIFY(info);
    const char *first = info();
    QCOMPARE(QByteArray(first), QByteArray(kDescriptor));
    QCOMPARE(info(), first);
}

// Guards the factory: the flag declared off, the handle typed by the
// interface (not the implementation), and the identity taken from it.
void tst_PluginLibrary::factoryDeclaresFlagAndReturnsInterfaceHandle()
{
    std::unique_ptr<orvane::ModuleRef> handle = create();
    QVERIFY(handle);
    QCOMPARE(app.hostFlags().declaredDefault("uis_dev.hyper_fps"), std::optional<int>(0));
    QVERIFY(!app.flags().isFlagSet("uis_dev.hyper_fps"));
    QCOMPARE(QByteArray(handle->interfaceType().name()), QByteArray(typeid(UisDevModule).name()));
    QVERIFY(handle->module());
    QCOMPARE(handle->moduleId(), static_cast<const void *>(handle->module().get()));

    // Releasing the host's handle destroys the module.
    std::weak_ptr<orvane::AbstractModule> module = handle->module();
    handle.reset();
    QVERIFY(module.expired());
}

// Guards init: the page goes to "uis_manager" in group 4 and is owned only
// there; later look-ups present the module's identity; uninit keeps it.
void tst_PluginLibrary::initHandsThePageToTheDialog()
{
    HostPeers peers;
    peers.registerAll(app);
    std::vector<const void *> requesters;
    app.setLookupObserver([&](const auto &l) { requesters.push_back(l.requester); });

    std::unique_ptr<orvane::ModuleRef> handle = create();
    const void *id = handle->moduleId();
    std::shared_ptr<orvane::AbstractModule> module = handle->module();
    app.registerModule("uis_dev", std::move(handle));
    QVERIFY(module->init(app));

    const auto &pages = peers.uisManager->pages().pages();
    QCOMPARE(pages.size(), size_t(1));
    QCOMPARE(pages.front().group, 4);
    QCOMPARE(pages.front().page->id(), std::string("Device"));
    QCOMPARE(pages.front().page.use_count(), 1L);
    QCOMPARE(requesters, std::vector<const void *>{id});

    module->uninit();
    QCOMPARE(peers.uisManager->pages().pages().size(), size_t(1));

    std::weak_ptr<AbstractSettingsPage> page = pages.front().page;
    peers.uisManager->pages().clear();
    QVERIFY(page.expired());
}

// Guards against init swallowing a failed look-up or answering false.
void tst_PluginLibrary::initWithoutDialogThrowsTheHostsError()
{
    HostPeers peers;
    peers.registerAll(app);
    app.removeModule("uis_manager");
    std::unique_ptr<orvane::ModuleRef> handle = create();
    try {
        handle->module()->init(app);
        QFAIL("init did not throw");
    } catch (const std::system_error &e) {
        QCOMPARE(e.code(), std::error_code(orvane::ModuleError::NoSuchModule));
    }
    QVERIFY(peers.uisManager->pages().pages().empty());
}

QTEST_MAIN(tst_PluginLibrary)
#include "tst_pluginlibrary.moc"
