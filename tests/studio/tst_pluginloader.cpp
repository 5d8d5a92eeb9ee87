#include "PluginLoader.h"
#include "StudioSession.h"
#include "host/AbstractSettingsPage.h"
#include "studio/orvane/StudioApplication.h"

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
};

void tst_PluginLoader::refusesBrokenPlugins_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("cut"); // bytes kept of the file; -1: all
    const qint64 size = QFileInfo(STUDIO_TEST_PLUGIN_DIR "/good.plg").size();
    QTest::addColumn<QString>("reason");

    // clang-format off
    QTest::newRow("no descriptor") << "no_descriptor" << qint64(-1) << "no VD_GetPluginInfo entry point";
    QTest::newRow("malformed JSON") << "bad_json" << qint64(-1) << "not valid JSON";
    QTest::newRow("wrong architecture") << "wrong_arch" << qint64(-1) << "architecture \"3.1.2.0\" does not match";
    QTest::newRow("entry not exported") << "no_entry" << qint64(-1) << "\"testCreateMissing\" is not exported";
    QTest::newRow("factory throws") << "factory_throws" << qint64(-1) << "threw: factory refuses";
    QTest::newRow("init throws") << "init_throws" << qint64(-1) << "threw: init gave up on purpose";
    QTest::newRow("unresolved symbol") << "unresolved" << qint64(-1) << "not a loadable library";
    QTest::newRow("empty file") << "good" << qint64(0) << "not an ELF file";
    QTest::newRow("cut in the ELF header") << "good" << qint64(40) << "not an ELF file";
    QTest::newRow("cut in the program headers") << "good" << qint64(100) << "program header table lies past the end";
    QTest::newRow("cut at 1 kB") << "good" << qint64(1000) << "loadable segment 0 lies past the end";
    QTest::newRow("cut at 10 kB") << "good" << qint64(10000) << "lies past the end of the file";
    QTest::newRow("cut at 100 kB") << "good" << qint64(100000) << "lies past the end of the file";
    QTest::newRow("last byte cut") << "good" << size - 1 << "section header table lies past the end";
    // clang-format on
}

// Guards against a broken or cut plug-in being registered, crashing the
// host (a cut file used to die of SIGBUS in dlopen), or being refused
// without one line saying why; and a page added by a plug-in whose init
// then failed showing up in the settings dialog.
void tst_PluginLoader::refusesBrokenPlugins()
{
    QFETCH(QString, file);
    QFETCH(qint64, cut);
    QFETCH(QString, reason);
    QTemporaryDir config;
    const QString path = config.filePath("plugin.plg");
    QVERIFY(QFile::copy(STUDIO_TEST_PLUGIN_DIR "/" + file + ".plg", path));
    QVERIFY(cut < 0 || QFile::resize(path, cut));

    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    StudioSession session(app, config.path(), {"UNI"});
    QVERIFY(!session.loader().loadFile(path));
    QCOMPARE(session.loader().refused().size(), size_t(1));
    const QString said = session.loader().refused().front().reason;
    QVERIFY2(said.contains(reason) && !said.contains('\n'), qPrintable(said));
    QVERIFY(session.loader().loaded().empty());
    QCOMPARE(app.moduleNames().size(), size_t(4)); // only the peers
    QVERIFY(session.pages().empty());
}

QTEST_MAIN(tst_PluginLoader)
#include "tst_pluginloader.moc"
