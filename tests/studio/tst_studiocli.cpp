#include "StudioProcess.h"
#include "tests/DataRow.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_StudioCli : public QObject
{
    Q_OBJECT

private slots:
    void exitStatus_data();
    void exitStatus();
    void pluginsAreRefusedLineByLine();
    void hostileValuesSurviveRestart_data();
    void hostileValuesSurviveRestart();
    void applyWithRealPlugin_data();
    void applyWithRealPlugin();

private:
    QTemporaryDir m_noPlugins;
};

namespace {
using L = QStringList;
QString testPlugin(const QString &name) { return STUDIO_TEST_PLUGIN_DIR "/" + name + ".plg"; }
} // namespace

void tst_StudioCli::exitStatus_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("store"); // dev_hwup.conf before the run, if any
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("line");

    // A run over no store, of the studio as it is, unless a row says otherwise.
    const auto row = [](const char *name, const L &arguments, int code, const char *line,
                        const QByteArray &store = {}, const QString &script = "exec \"$@\"") {
        QTest::newRow(name) << script << arguments << store << code << line;
    };
    row("--config without a folder", {"--config"}, 2, "--config");
    row("positional argument", {"stray"}, 2, "stray");
    row("--set without '='", {"--set", "dev_hwup:key"}, 2, "MODULE:KEY=VALUE");
    row("--set on an unknown module", {"--set", "uis_manager:k=v"}, 2, "unknown module");
    row("--set with a bad escape", {"--set", "dev_hwup:k=\\z"}, 2, "unknown escape");
    row("--set with a short \\x", {"--set", "dev_hwup:k=\\x4"}, 2, "two hex digits");
    row("--lang with no translation", {"--lang", "xx"}, 2, "no translation for “xx”");
    row("--plugins not a folder", {"--plugins", "/nonexistent"}, 2, "not a folder");
    row("--settings with nothing to show", {"--settings"}, 0, "nothing to show");
    row("no display at all", {"--dump"}, 0, "running on the offscreen platform", {},
        "unset QT_QPA_PLATFORM; exec \"$@\"");
    row("--dump to a full device", {"--dump"}, 1, "could not be written: No space left on device",
        {}, "exec \"$@\" >/dev/full");
    row("--dump to a closed output", {"--dump"}, 1, "could not be written: Bad file descriptor", {},
        "exec \"$@\" >&-");
    row("damaged store", {"--dump"}, 1, "dev_hwup.conf: line 1: not a studio settings file",
        "not a settings file\n");
}

// Guards against a bad option, an unusable output or an unreadable store
// being ignored (exit status 0, or output that looks complete), a run that
// hangs, or a failure without one line saying why.
void tst_StudioCli::exitStatus()
{
    QFETCH(QString, script);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, store);
    QFETCH(QString, line);
    QTemporaryDir config;
    if (!store.isEmpty())
        QVERIFY(writeFile(config.filePath("dev_hwup.conf"), store));
    QStringList args{"--config", config.path()};
    if (!arguments.contains("--plugins"))
        args << "--plugins" << m_noPlugins.path();
    const StudioRun run = runStudio(args + arguments, script);
    QVERIFY2(run.finished, run.err.constData());
    QTEST(run.exitCode, "code");
    QVERIFY2(run.lines(line).size() == 1, run.err.constData());
    if (run.exitCode == 2)
        QVERIFY(run.out.isEmpty()); // nothing was run
    if (!store.isEmpty())
        QCOMPARE(parseDump(run.out).keys(), QStringList({"mirel_wr_support", "vendrel-studio"}));
}

// Guards against a bad plug-in file crashing the host (a cut one used to
// die in dlopen), stopping the loader before the good plug-in, being
// refused without one line naming the file, or a file name forging lines.
void tst_StudioCli::pluginsAreRefusedLineByLine()
{
    QTemporaryDir plugins;
    const QStringList broken{"no_descriptor", "bad_json", "init_throws", "unresolved", "twin"};
    for (const QString &name : broken.mid(0, 4) + QStringList{"good"})
        QVERIFY(QFile::copy(testPlugin(name), plugins.filePath(name + ".plg")));
    QVERIFY(QFile::copy(testPlugin("good"), plugins.filePath("twin.plg"))); // a name taken
    QVERIFY(writeFile(plugins.filePath("readme.plg"), "{\"architecture\":\"3.1.2.1\"}\n"));
    QVERIFY(writeFile(plugins.filePath("cut.plg"), readFile(testPlugin("good")).left(4096)));
    QVERIFY(QFile::rename(plugins.filePath("good.plg"),
                          plugins.filePath("good\n\x1b[2Jstudio: loaded.plg")));
    // Only .plg files are plug-ins, in any case and through links: a library
    // under another name, a folder and a dangling link are not tried.
    QVERIFY(QFile::copy(testPlugin("bad_json"), plugins.filePath("bad_json.so")));
    QVERIFY(QFile::copy(testPlugin("bad_json"), plugins.filePath("LOUD.PLG")));
    QVERIFY(QFile::link(plugins.filePath("bad_json.so"), plugins.filePath("linked.plg")));
    QVERIFY(QFile::link(plugins.filePath("gone"), plugins.filePath("dangling.plg")));
    QVERIFY(QDir(plugins.path()).mkdir("folder.plg"));

    QTemporaryDir config;
    const StudioRun run =
            runStudio({"--plugins", plugins.path(), "--config", config.path(), "--dump"});
    QVERIFY2(run.finished, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    for (const QString &name : broken + QStringList{"readme", "cut", "linked"})
        QCOMPARE(run.lines(plugins.filePath(name + ".plg: ")).size(), 1);
    QCOMPARE(run.lines(plugins.filePath("LOUD.PLG: ")).size(), 1);
    QCOMPARE(run.lines("refused plug-in").size(), broken.size() + 4);
    const QString good = plugins.filePath("good\\x0a\\x1b[2J"); // the name, escaped
    QCOMPARE(run.lines("loaded plug-in “test_good” from " + good).size(), 1);
    for (const QString &line : run.lines(""))
        QVERIFY2(line.startsWith("studio: "), qPrintable(line)); // none forged
}

void tst_StudioCli::hostileValuesSurviveRestart_data()
{
    QTest::addColumn<QStringList>("sets"); // as typed after --set, in dev_hwup
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");

    using B = QByteArray;
    row("newlines, literal and escaped", L{"dev_hwup:current_workmode=UNI\n\\nhybird"},
        B("current_workmode"), B("UNI\n\nhybird"));
    row("bytes that are not UTF-8", L{"dev_hwup:settings.hwup.capturefps=\\xff\\xfe60"},
        B("settings.hwup.capturefps"), B("\xff\xfe") + "60");
    row("NUL byte and '=' in the key", L{"dev_hwup:a\\=\\x00b=\\x00"}, B("a=\0b", 4), B("\0", 1));
    row("leading byte-order mark", L{"dev_hwup:\\xef\\xbb\\xbfk=\\xef\\xbb\\xbfv"},
        B("\xef\xbb\xbfk"), B("\xef\xbb\xbfv"));
    row("a text key that reads like an encoded one",
        L{"dev_hwup:\\xff=byte", "dev_hwup:{\"base64\":\"/w\\=\\=\"}=text"},
        B("{\"base64\":\"/w==\"}"), B("text"));
}

// Guards against --set, the store file or the dump mangling hostile bytes,
// two stored keys printed as one, and values that do not survive a restart.
void tst_StudioCli::hostileValuesSurviveRestart()
{
    QFETCH(QStringList, sets);
    QFETCH(QByteArray, key);
    QTemporaryDir config;
    const QStringList common{"--plugins", m_noPlugins.path(), "--config", config.path(), "--dump"};
    QStringList args = common;
    for (const QString &set : sets)
        args << "--set" << set;
    const StudioRun first = runStudio(args);
    QCOMPARE(first.exitCode, 0);
    const Dump dump = parseDump(first.out);
    QCOMPARE(dump["dev_hwup"].size(), sets.size());
    QTEST(dump["dev_hwup"].value(key), "value");
    QCOMPARE(parseDump(runStudio(common).out), dump);
}

void tst_StudioCli::applyWithRealPlugin_data()
{
    QTest::addColumn<QString>("seed"); // --set of a first run
    QTest::addColumn<QString>("option"); // of the run that applies
    QTest::addColumn<QString>("workmode"); // empty: the stores stay as they were
    QTest::addColumn<QByteArray>("capturefps"); // empty: any

    row("fresh stores get the page's values", "dev_hwup:k=v", "--apply", "UNI", QByteArray());
    row("hybrid leaves the inertial keys", "vendrel-studio:current_workmode=hybird", "--apply",
        "hybird", QByteArray());
    row("an active device writes nothing", "dev_hwup:settings.hwup.capturefps=\\xff",
        "--device-active", "", QByteArray());
    row("--hyper-fps keeps a free rate", "dev_hwup:settings.hwup.capturefps=1000", "--hyper-fps",
        "UNI", QByteArray("1000"));
}

// Guards against the host not driving the real page end to end (load,
// Apply, the values in the right stores and files), the page writing while
// the device is connected, the host's flag not reaching the page, and a
// neighbour's key being touched.
void tst_StudioCli::applyWithRealPlugin()
{
    if (!QFile::exists(REAL_PLUGIN))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QFETCH(QString, seed);
    QFETCH(QString, option);
    QFETCH(QString, workmode);
    QFETCH(QByteArray, capturefps);
    QTemporaryDir config;
    const QStringList common{"--config", config.path(), "--dump"};
    const StudioRun seeded =
            runStudio(common + QStringList{"--set", "dev_hwup:x\\=y=a\nb\\xff", "--set", seed});
    const StudioRun run = runStudio(common + QStringList{"--apply", option});
    QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
    QCOMPARE(run.lines("loaded plug-in “uis_dev”").size(), 1);
    const Dump dump = parseDump(run.out);
    QCOMPARE(dump["dev_hwup"].value("x=y"), QByteArray("a\nb\xff"));
    if (workmode.isEmpty())
        QCOMPARE(dump, parseDump(seeded.out));
    else
        QCOMPARE(dump["vendrel-studio"].value("current_workmode"), workmode.toUtf8());
    const QByteArray fps = dump["dev_hwup"].value("settings.hwup.capturefps");
    QVERIFY(capturefps.isEmpty() ? fps.isEmpty() == (workmode == "hybird") : fps == capturefps);
    QCOMPARE(parseDump(runStudio(common).out), dump); // the next start reads it back
}

QTEST_GUILESS_MAIN(tst_StudioCli)
#include "tst_studiocli.moc"
