#include "StudioProcess.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A dumped key or value back as bytes: a JSON string is UTF-8, an object
// (or a key holding its JSON text) carries base64.
QByteArray bytesOf(const QJsonValue &value)
{
    if (value.isObject())
        return QByteArray::fromBase64(value.toObject().value("base64").toString().toLatin1());
    return value.toString().toUtf8();
}

QByteArray keyBytes(const QString &key)
{
    const QJsonDocument doc = QJsonDocument::fromJson(key.toUtf8());
    return doc.isObject() ? bytesOf(doc.object()) : key.toUtf8();
}

// module → (key bytes → value bytes)
using Dump = QMap<QString, QMap<QByteArray, QByteArray>>;

bool parseDump(const QByteArray &out, Dump *dump)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject all = doc.object();
    for (auto module = all.begin(); module != all.end(); ++module) {
        const QJsonObject store = module.value().toObject();
        for (auto entry = store.begin(); entry != store.end(); ++entry)
            (*dump)[module.key()][keyBytes(entry.key())] = bytesOf(entry.value());
        if (store.isEmpty())
            (*dump)[module.key()];
    }
    return true;
}

QStringList linesContaining(const StudioRun &run, const QString &text)
{
    return run.errLines().filter(text);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_StudioCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void badOptions_data();
    void badOptions();
    void helpExitsCleanly();
    void brokenPluginsAreRefusedLineByLine();
    void settingsAloneOnOffscreenExits();
    void noDisplayFallsBackToOffscreen();
    void unreadableStoreIsReportedAndKept();
    void hostileValuesSurviveRestart_data();
    void hostileValuesSurviveRestart();

    void applyWithRealPlugin_data();
    void applyWithRealPlugin();
    void activeDeviceLeavesStoresUntouched();
    void unsavedApplyIsReported();
    void germanTranslationLoads();

private:
    QString m_emptyPlugins; // a folder without plug-ins
    QTemporaryDir m_scratch;
};

void tst_StudioCli::initTestCase()
{
    QVERIFY2(QFileInfo(studioExecutable()).isExecutable(), qPrintable(studioExecutable()));
    QVERIFY(m_scratch.isValid());
    m_emptyPlugins = m_scratch.filePath("no-plugins");
    QVERIFY(QDir().mkpath(m_emptyPlugins));
}

void tst_StudioCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("--config without a folder") << QStringList{"--config"} << "config";
    QTest::newRow("positional argument") << QStringList{"stray"} << "stray";
    QTest::newRow("--set without '='")
            << QStringList{"--set", "dev_hwup:key"} << "MODULE:KEY=VALUE";
    QTest::newRow("--set on an unknown module")
            << QStringList{"--set", "uis_manager:k=v"} << "unknown module";
    QTest::newRow("--set with a bad escape")
            << QStringList{"--set", "dev_hwup:k=\\z"} << "unknown escape";
    QTest::newRow("--lang with no translation")
            << QStringList{"--lang", "xx"} << "no translation for “xx”";
    QTest::newRow("--plugins not a folder")
            << QStringList{"--plugins", "/nonexistent/folder"} << "not a folder";
}

// Guards against a bad option being ignored, running on with a wrong
// setting, or failing without saying why. (Which options are bad is the
// option parser's test.)
void tst_StudioCli::badOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir config;
    QStringList args{"--config", config.path(), "--dump"};
    if (!arguments.contains("--plugins"))
        args << "--plugins" << m_emptyPlugins;
    const StudioRun run = runStudio(args + arguments);
    QVERIFY(run.finished && !run.crashed);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    QVERIFY(run.out.isEmpty()); // nothing was dumped
}

// Guards against --help being treated as an error or starting the host.
void tst_StudioCli::helpExitsCleanly()
{
    const StudioRun run = runStudio({"--help"});
    QCOMPARE(run.exitCode, 0);
    for (const char *option :
         {"--config", "--plugins", "--hyper-fps", "--device-kinds", "--device-active", "--lang",
          "--set", "--settings", "--apply", "--dump", "--screenshot"})
        QVERIFY2(run.out.contains(option), option);
}

// Guards against a bad plug-in file crashing the host, stopping the loader
// before the good plug-in, or being refused without a line naming the file.
void tst_StudioCli::brokenPluginsAreRefusedLineByLine()
{
    QTemporaryDir plugins;
    QTemporaryDir config;
    const QStringList broken{"no_descriptor", "bad_json",   "not_object",   "wrong_arch",
                             "no_name",       "no_entry",   "factory_null", "factory_throws",
                             "init_throws",   "init_false", "unresolved"};
    QStringList files{testPlugin("good")};
    for (const QString &name : broken)
        files << testPlugin(name);
    QVERIFY(copyInto(plugins.path(), files));
    QFile text(plugins.filePath("readme.plg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("{\"architecture\":\"3.1.2.1\"}\n");
    text.close();
    // Only .plg files are plug-ins: a library under another name is not tried.
    QVERIFY(QFile::copy(testPlugin("bad_json"), plugins.filePath("bad_json.so")));

    const StudioRun run = runStudio(
            {"--plugins", plugins.path(), "--config", config.path(), "--apply", "--dump"});
    QVERIFY(run.finished && !run.crashed);
    QCOMPARE(run.exitCode, 0);
    const QStringList refused = linesContaining(run, "refused plug-in");
    QCOMPARE(refused.size(), broken.size() + 1);
    for (const QString &name : broken + QStringList{"readme"}) {
        const QString file = QDir(plugins.path()).filePath(name + ".plg");
        QCOMPARE(refused.filter(file + ": ").size(), 1);
    }
    QCOMPARE(linesContaining(run, "loaded plug-in “test_good”").size(), 1);
    Dump dump;
    QVERIFY(parseDump(run.out, &dump));
}

// Guards against the host hanging when there is nothing a person could see.
void tst_StudioCli::settingsAloneOnOffscreenExits()
{
    QTemporaryDir config;
    const StudioRun run =
            runStudio({"--settings", "--plugins", m_emptyPlugins, "--config", config.path()},
                      headlessEnvironment(), studioExecutable(), 20000);
    QVERIFY2(run.finished, "studio --settings hung on the offscreen platform");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(linesContaining(run, "nothing to show").size(), 1);
}

// Guards against aborting when there is no display at all.
void tst_StudioCli::noDisplayFallsBackToOffscreen()
{
    QTemporaryDir config;
    QProcessEnvironment env = headlessEnvironment();
    env.remove("QT_QPA_PLATFORM");
    const StudioRun run =
            runStudio({"--dump", "--plugins", m_emptyPlugins, "--config", config.path()}, env);
    QVERIFY(run.finished && !run.crashed);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(linesContaining(run, "running on the offscreen platform").size(), 1);
    Dump dump;
    QVERIFY(parseDump(run.out, &dump));
    QCOMPARE(dump.keys(), QStringList({"dev_hwup", "mirel_wr_support", "vendrel-studio"}));
}

// Guards against a damaged store file being silently replaced.
void tst_StudioCli::unreadableStoreIsReportedAndKept()
{
    QTemporaryDir config;
    const QString file = config.filePath("dev_hwup.conf");
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a settings file\n");
    damaged.close();
    const StudioRun run =
            runStudio({"--dump", "--plugins", m_emptyPlugins, "--config", config.path(), "--set",
                       "dev_hwup:settings.hwup.capturefps=60"});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = linesContaining(run, file);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().contains("kept as"));
    const QStringList kept = QDir(config.path()).entryList({"dev_hwup.conf.unreadable-*"});
    QCOMPARE(kept.size(), 1);
    QCOMPARE(readFile(config.filePath(kept.first())), QByteArray("not a settings file\n"));
    Dump dump;
    QVERIFY(parseDump(run.out, &dump));
    QCOMPARE(dump["dev_hwup"].value("settings.hwup.capturefps"), QByteArray("60"));
}

void tst_StudioCli::hostileValuesSurviveRestart_data()
{
    QTest::addColumn<QString>("assignment"); // as typed after --set
    QTest::addColumn<QString>("module");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");

    // Each piece on its own (parsing --set, the store file, the dump) has its
    // own test with many more cases: these are the hardest ones end to end.
    // clang-format off
    QTest::newRow("newlines, literal and escaped") << "vendrel-studio:current_workmode=UNI\n\\nhybird" << "vendrel-studio" << QByteArray("current_workmode") << QByteArray("UNI\n\nhybird");
    QTest::newRow("bytes that are not UTF-8") << "dev_hwup:settings.hwup.capturefps=\\xff\\xfe60" << "dev_hwup" << QByteArray("settings.hwup.capturefps") << QByteArray("\xff\xfe" "60");
    QTest::newRow("NUL byte and '=' in the key") << "mirel_wr_support:a\\=\\x00b=\\x00" << "mirel_wr_support" << QByteArray("a=\0b", 4) << QByteArray("\0", 1);
    // clang-format on
}

// Guards against --set or the stores mangling hostile bytes, and against
// values that do not survive a restart of the host.
void tst_StudioCli::hostileValuesSurviveRestart()
{
    QFETCH(QString, assignment);
    QFETCH(QString, module);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QTemporaryDir config;
    const QStringList common{"--plugins", m_emptyPlugins, "--config", config.path()};

    const StudioRun first = runStudio(common + QStringList{"--set", assignment, "--dump"});
    QCOMPARE(first.exitCode, 0);
    Dump dump;
    QVERIFY2(parseDump(first.out, &dump), first.out.constData());
    QVERIFY(dump[module].contains(key));
    QCOMPARE(dump[module].value(key), value);

    const StudioRun second = runStudio(common + QStringList{"--dump"});
    QCOMPARE(second.exitCode, 0);
    Dump again;
    QVERIFY(parseDump(second.out, &again));
    QCOMPARE(again, dump);
}

void tst_StudioCli::applyWithRealPlugin_data()
{
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<QString>("workmode");
    QTest::addColumn<QByteArray>("capturefps"); // empty: only check it is stored

    QTest::newRow("fresh stores get the page's values") << QStringList() << "UNI" << QByteArray();
    QTest::newRow("hybrid keeps the inertial rate untouched")
            << QStringList{"vendrel-studio:current_workmode=hybird",
                           "dev_hwup:settings.hwup.capturefps=96"}
            << "hybird" << QByteArray("96");
}

// Guards against the host not driving the real page end to end: load,
// Apply, and the values landing in the right stores and files.
void tst_StudioCli::applyWithRealPlugin()
{
    if (!QFile::exists(realPlugin()))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QFETCH(QStringList, sets);
    QFETCH(QString, workmode);
    QFETCH(QByteArray, capturefps);
    QTemporaryDir config;
    QStringList args{"--config", config.path(), "--apply", "--dump"};
    // Hostile neighbours that the page must leave alone.
    args << "--set"
         << "dev_hwup:x\\=y=line1\nline2\\xff";
    for (const QString &set : sets)
        args << "--set" << set;
    const StudioRun run = runStudio(args);
    QVERIFY2(run.finished && !run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(linesContaining(run, "loaded plug-in “uis_dev”").size(), 1);
    Dump dump;
    QVERIFY(parseDump(run.out, &dump));
    QCOMPARE(dump["vendrel-studio"].value("current_workmode"), workmode.toUtf8());
    QVERIFY(dump["dev_hwup"].contains("settings.hwup.capturefps"));
    if (!capturefps.isEmpty())
        QCOMPARE(dump["dev_hwup"].value("settings.hwup.capturefps"), capturefps);
    QCOMPARE(dump["dev_hwup"].value("x=y"), QByteArray("line1\nline2\xff"));

    // The next start reads what this one applied.
    const StudioRun again = runStudio({"--config", config.path(), "--dump"});
    Dump reread;
    QVERIFY(parseDump(again.out, &reread));
    QCOMPARE(reread, dump);
}

// Guards against the page writing while the device is connected.
void tst_StudioCli::activeDeviceLeavesStoresUntouched()
{
    if (!QFile::exists(realPlugin()))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QTemporaryDir config;
    // Values the page would replace: no work mode, a rate that is no rate.
    const StudioRun seed = runStudio({"--config", config.path(), "--set",
                                      "dev_hwup:settings.hwup.capturefps=\\xff", "--set",
                                      "mirel_wr_support:fps=60"});
    QCOMPARE(seed.exitCode, 0);
    QStringList files;
    for (const char *name : {"vendrel-studio.conf", "dev_hwup.conf", "mirel_wr_support.conf"})
        files << config.filePath(name);
    QList<QByteArray> before;
    for (const QString &file : files)
        before << readFile(file);

    const StudioRun run = runStudio({"--config", config.path(), "--device-active", "--device-kinds",
                                     "UNI", "--apply", "--dump"});
    QVERIFY2(run.finished && !run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(linesContaining(run, "loaded plug-in “uis_dev”").size(), 1);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(readFile(files[i]), before[i]);

    // The same run without the device connected does write: the check above
    // can see a change.
    const StudioRun writes =
            runStudio({"--config", config.path(), "--device-kinds", "UNI", "--apply"});
    QCOMPARE(writes.exitCode, 0);
    QVERIFY(readFile(files[0]) != before[0] || readFile(files[1]) != before[1]);
}

// Guards against a store that cannot save being passed over in silence:
// the page cannot tell, so the host must say so and fail.
void tst_StudioCli::unsavedApplyIsReported()
{
    if (!QFile::exists(realPlugin()))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QTemporaryDir config;
    // A folder where the store's file should be: it can be neither read,
    // copied nor replaced.
    QVERIFY(QDir(config.path()).mkdir("dev_hwup.conf"));
    const StudioRun run = runStudio({"--config", config.path(), "--apply"});
    QVERIFY2(run.finished && !run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(linesContaining(run, "dev_hwup.conf: not saved").size(), 1);
    QVERIFY(QFileInfo(config.filePath("dev_hwup.conf")).isDir());
    // The other stores saved what the page applied.
    QVERIFY(readFile(config.filePath("vendrel-studio.conf")).contains("current_workmode=UNI"));
}

// Guards against --lang not reaching the page: the translation the
// plug-in ships must change what the dialog shows.
void tst_StudioCli::germanTranslationLoads()
{
    const QString qm = QStringLiteral(STUDIO_BIN_DIR "/translations/uis_dev_de.qm");
    if (!QFile::exists(realPlugin()) || !QFile::exists(qm))
        QSKIP("uis_dev.plg or its German translation is not built yet");
    QTemporaryDir config;
    const QString english = config.filePath("en.png");
    const QString german = config.filePath("de.png");
    const StudioRun first = runStudio({"--config", config.path(), "--screenshot", english});
    QCOMPARE(first.exitCode, 0);
    const StudioRun run =
            runStudio({"--config", config.path(), "--lang", "de", "--screenshot", german});
    QVERIFY2(run.finished && !run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    const QImage en(english);
    const QImage de(german);
    QVERIFY(!en.isNull() && !de.isNull());
    QCOMPARE(de.size(), en.size());
    QVERIFY(de != en);
}

QTEST_GUILESS_MAIN(tst_StudioCli)
#include "tst_studiocli.moc"
