#include "PluginLoader.h"
#include "StudioSession.h"
#include "host/AbstractSettingsPage.h"
#include "studio/orvane/StudioApplication.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
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
    QTest::addColumn<qint64>("at"); // bytes kept of the file, or where `patch` goes; -1: neither
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const char *file, qint64 at, const char *reason,
                        const QByteArray &patch = {}) {
        QTest::newRow(name) << QString(file) << at << patch << QString(reason);
    };
    QFile good(STUDIO_TEST_PLUGIN_DIR "/good.plg");
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    const qint64 size = bytes.size();

    row("no descriptor", "no_descriptor", -1, "no VD_GetPluginInfo entry point");
    row("malformed JSON", "bad_json", -1, "not valid JSON");
    row("wrong architecture", "wrong_arch", -1, "architecture \"3.1.2.0\" does not match");
    row("entry not exported", "no_entry", -1, "\"testCreateMissing\" is not exported");
    row("factory throws", "factory_throws", -1, "threw: factory refuses");
    row("init throws", "init_throws", -1, "threw: init gave up on purpose");
    row("unresolved symbol", "unresolved", -1, "not a loadable library");
    row("cut at 10 kB", "good", 10000, "lies past the end of the file");
    row("cut at nine tenths", "good", size * 9 / 10, "lies past the end of the file");
#ifdef Q_OS_WIN
    // Where the good plug-in's PE header, section table and first section's data lie.
    const qint64 pe = qFromLittleEndian<quint32>(bytes.constData() + 0x3c);
    const qint64 sections = pe + 24 + qFromLittleEndian<quint16>(bytes.constData() + pe + 20);
    const qint64 data = qFromLittleEndian<quint32>(bytes.constData() + sections + 20);
    row("empty file", "good", 0, "not a PE file");
    row("cut in the DOS header", "good", 40, "not a PE file");
    row("cut in the PE header", "good", pe + 100, "its PE header lies past the end");
    row("cut in the section table", "good", sections + 20, "its section table lies past the end");
    row("cut in a section's data", "good", data + 100, "section 0 lies past the end");
    row("last byte cut", "good", size - 1, "lies past the end of the file");
    // The machine field set to ARM64.
    row("another machine", "good", pe + 4, "for another machine", QByteArray("\x64\xaa", 2));
    row("not a DLL", "good", pe + 23, "not a DLL", QByteArray(1, '\0')); // IMAGE_FILE_DLL off
    row("descriptor not exported", "good", bytes.indexOf("VD_GetPluginInfo") + 15,
        "no VD_GetPluginInfo entry point", "X");
#else
    row("empty file", "good", 0, "not an ELF file");
    row("cut in the ELF header", "good", 40, "not an ELF file");
    row("cut in the program headers", "good", 100, "program header table lies past the end");
    row("cut at 1 kB", "good", 1000, "loadable segment 0 lies past the end");
    row("last byte cut", "good", size - 1, "section header table lies past the end");
#endif
}

// Guards against a broken or cut plug-in being registered, crashing the
// host (a cut file used to die of SIGBUS in dlopen; a foreign DLL's code
// runs in LoadLibrary), or being refused without one line saying why; and a
// page added by a plug-in whose init then failed showing up in the dialog.
void tst_PluginLoader::refusesBrokenPlugins()
{
    QFETCH(QString, file);
    QFETCH(qint64, at);
    QFETCH(QByteArray, patch);
    QFETCH(QString, reason);
    QTemporaryDir config;
    const QString path = config.filePath("plugin.plg");
    QVERIFY(QFile::copy(STUDIO_TEST_PLUGIN_DIR "/" + file + ".plg", path));
    QFile copy(path);
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(at < 0 || (patch.isEmpty() ? copy.resize(at) : copy.seek(at) && copy.write(patch) > 0));
    copy.close();

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
