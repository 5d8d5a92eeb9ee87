#include "PluginLoader.h"
#include "StudioSession.h"
#include "host/AbstractSettingsPage.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostPeers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_PluginLoader : public QObject
{
    Q_OBJECT

private slots:
    void init() { orvane::StudioApplication::instance().reset(); }
    void cleanup() { orvane::StudioApplication::instance().reset(); }

    void refusesBrokenPlugins_data();
    void refusesBrokenPlugins();
    void refusedInitLeavesNoPage();
    void duplicateNameIsRefused();
    void releaseUninitialisesAndUnregisters();
};

void tst_PluginLoader::refusesBrokenPlugins_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("reason");

    // clang-format off
    QTest::newRow("no descriptor") << "no_descriptor" << "test_no_descriptor" << "no VD_GetPluginInfo entry point";
    QTest::newRow("malformed JSON") << "bad_json" << "test_bad_json" << "not valid JSON";
    QTest::newRow("JSON array") << "not_object" << "test_not_object" << "not a JSON object";
    QTest::newRow("wrong architecture") << "wrong_arch" << "test_wrong_arch" << "architecture \"3.1.2.0\" does not match";
    QTest::newRow("empty name") << "no_name" << "" << "no name";
    QTest::newRow("entry not exported") << "no_entry" << "test_no_entry" << "\"testCreateMissing\" is not exported";
    QTest::newRow("factory returns null") << "factory_null" << "test_factory_null" << "returned no module";
    QTest::newRow("factory throws") << "factory_throws" << "test_factory_throws" << "threw: factory refuses";
    QTest::newRow("init throws") << "init_throws" << "test_init_throws" << "threw: init gave up on purpose";
    QTest::newRow("init answers false") << "init_false" << "test_init_false" << "answered false";
    QTest::newRow("unresolved symbol") << "unresolved" << "test_unresolved" << "not a loadable library";
    // clang-format on
}

// Guards against a broken plug-in being registered, crashing the host, or
// being refused without saying which file and why.
void tst_PluginLoader::refusesBrokenPlugins()
{
    QFETCH(QString, file);
    QFETCH(QString, module);
    QFETCH(QString, reason);
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    HostPeers peers;
    peers.registerAll(app);
    PluginLoader loader(app, &peers.uisManager->pages());

    const QString path = QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/") + file + QStringLiteral(".plg");
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QVERIFY(!loader.loadFile(path));
    QCOMPARE(loader.loaded().size(), size_t(0));
    QCOMPARE(loader.refused().size(), size_t(1));
    QCOMPARE(loader.refused().front().file, path);
    const QString said = loader.refused().front().reason;
    QVERIFY2(said.contains(reason), qPrintable(said));
    QVERIFY2(!said.contains(QLatin1Char('\n')), qPrintable(said));
    if (!module.isEmpty())
        QVERIFY(!app.hasModule(module.toStdString()));
    // Only the four peers are left.
    QCOMPARE(app.moduleNames().size(), size_t(4));
}

// Guards against a page added by a plug-in whose init then failed showing
// up in the settings dialog.
void tst_PluginLoader::refusedInitLeavesNoPage()
{
    QTemporaryDir config;
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    StudioSession session(app, config.path(), {"UNI"});
    session.loader().loadFile(QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/init_throws.plg"));
    session.loader().loadFile(QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/good.plg"));
    const auto pages = session.pages();
    QCOMPARE(pages.size(), size_t(1));
    QCOMPARE(pages.front()->id(), std::string("test_good"));
}

// Guards against a second plug-in silently replacing a module (or a peer)
// that is already registered under the same name.
void tst_PluginLoader::duplicateNameIsRefused()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("one.plg"));
    const QString second = dir.filePath(QStringLiteral("two.plg"));
    QVERIFY(QFile::copy(QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/good.plg"), first));
    QVERIFY(QFile::copy(QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/good.plg"), second));
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    HostPeers peers;
    peers.registerAll(app);
    PluginLoader loader(app, &peers.uisManager->pages());
    QVERIFY(loader.loadFile(first));
    QVERIFY(!loader.loadFile(second));
    QVERIFY(loader.refused().front().reason.contains(QLatin1String("already registered")));
    QCOMPARE(peers.uisManager->pages().pages().size(), size_t(1));
}

// Guards against a factory not given the host's flags, and modules outliving
// the shutdown (their handles must go while the plug-in's code is there).
void tst_PluginLoader::releaseUninitialisesAndUnregisters()
{
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    HostPeers peers;
    peers.registerAll(app);
    PluginLoader loader(app, &peers.uisManager->pages());
    QVERIFY(loader.loadFile(QStringLiteral(STUDIO_TEST_PLUGIN_DIR "/good.plg")));
    QVERIFY(app.hostFlags().isDeclared("test_good.flag")); // the factory got the host's flags
    std::weak_ptr<AbstractSettingsPage> page = peers.uisManager->pages().pages().front().page;
    peers.uisManager->pages().clear();
    QVERIFY(page.expired());
    loader.releaseModules();
    QVERIFY(!app.hasModule("test_good"));
    QVERIFY(loader.loaded().empty());
}

QTEST_MAIN(tst_PluginLoader)
#include "tst_pluginloader.moc"
