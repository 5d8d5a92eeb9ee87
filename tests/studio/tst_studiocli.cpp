#include "StudioProcess.h"

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
QString testPlugin(const QString &name) { return STUDIO_TEST_PLUGIN_DIR "/" + name + ".plg"; }
} // namespace

void tst_StudioCli::exitStatus_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("store"); // dev_hwup.conf before the run, if any
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("line");

    const QString plain = "exec \"$@\"";
    using L = QStringList;
    // clang-format off
    QTest::newRow("--config without a folder") << plain << L{"--config"} << QByteArray() << 2 << "--config";
    QTest::newRow("positional argument") << plain << L{"stray"} << QByteArray() << 2 << "stray";
    QTest::newRow("--set without '='") << plain << L{"--set", "dev_hwup:key"} << QByteArray() << 2 << "MODULE:KEY=VALUE";
    QTest::newRow("--set on an unknown module") << plain << L{"--set", "uis_manager:k=v"} << QByteArray() << 2 << "unknown module";
    QTest::newRow("--set with a bad escape") << plain << L{"--set", "dev_hwup:k=\\z"} << QByteArray() << 2 << "unknown escape";
    QTest::newRow("--set with a short \\x") << plain << L{"--set", "dev_hwup:k=\\x4"} << QByteArray() << 2 << "two hex digits";
    QTest::newRow("--lang with no translation") << plain << L{"--lang", "xx"} << QByteArray() << 2 << "no translation for “xx”";
    QTest::newRow("--plugins not a folder") << plain << L{"--plugins", "/nonexistent"} << QByteArray() << 2 << "not a folder";
    QTest::newRow("--settings with nothing to show") << plain << L{"--settings"} << QByteArray() << 0 << "nothing to show";
    QTest::newRow("no display at all") << "unset QT_QPA_PLATFORM; exec \"$@\"" << L{"--dump"} << QByteArray() << 0 << "running on the offscreen platform";
    QTest::newRow("--dump to a full device") << "exec \"$@\" >/dev/full" << L{"--dump"} << QByteArray() << 1 << "could not be written: No space left on device";
    QTest::newRow("--dump to a closed output") << "exec \"$@\" >&-" << L{"--dump"} << QByteArray() << 1 << "could not be written: Bad file descriptor";
    QTest::newRow("damaged store") << plain << L{"--dump"} << QByteArray("not a settings file\n") << 1 << "dev_hwup.conf: line 1: not a studio settings file";
    // clang-format on
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
    // Only .plg files are plug-ins: a library under another name is not tried.
    QVERIFY(QFile::copy(testPlugin("bad_json"), plugins.filePath("bad_json.so")));

    QTemporaryDir config;
    const StudioRun run =
            runStudio({"--plugins", plugins.path(), "--config", config.path(), "--dump"});
    QVERIFY2(run.finished, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    for (const QString &name : broken + QStringList{"readme", "cut"})
        QCOMPARE(run.lines(plugins.filePath(name + ".plg: ")).size(), 1);
    QCOMPARE(run.lines("refused plug-in").size(), broken.size() + 2);
    QCOMPARE(run.lines("loaded plug-in “test_good” from " + plugins.filePath("good\\x0a\\x1b[2J"))
                     .size(),
             1);
    for (const QString &line : run.lines(""))
        QVERIFY2(line.startsWith("studio: "), qPrintable(line)); // none forged
}

void tst_StudioCli::hostileValuesSurviveRestart_data()
{
    QTest::addColumn<QStringList>("sets"); // as typed after --set, in dev_hwup
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");

    // clang-format off
    QTest::newRow("newlines, literal and escaped") << QStringList{"dev_hwup:current_workmode=UNI\n\\nhybird"} << QByteArray("current_workmode") << QByteArray("UNI\n\nhybird");
    QTest::newRow("bytes that are not UTF-8") << QStringList{"dev_hwup:settings.hwup.capturefps=\\xff\\xfe60"} << QByteArray("settings.hwup.capturefps") << QByteArray("\xff\xfe" "60");
    QTest::newRow("NUL byte and '=' in the key") << QStringList{"dev_hwup:a\\=\\x00b=\\x00"} << QByteArray("a=\0b", 4) << QByteArray("\0", 1);
    QTest::newRow("leading byte-order mark") << QStringList{"dev_hwup:\\xef\\xbb\\xbfk=\\xef\\xbb\\xbfv"} << QByteArray("\xef\xbb\xbfk") << QByteArray("\xef\xbb\xbfv");
    QTest::newRow("a text key that reads like an encoded one") << QStringList{"dev_hwup:\\xff=byte", "dev_hwup:{\"base64\":\"/w\\=\\=\"}=text"} << QByteArray("{\"base64\":\"/w==\"}") << QByteArray("text");
    // clang-format on
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

    // clang-format off
    QTest::newRow("fresh stores get the page's values") << "dev_hwup:k=v" << "--apply" << "UNI" << QByteArray();
    QTest::newRow("hybrid leaves the inertial keys") << "vendrel-studio:current_workmode=hybird" << "--apply" << "hybird" << QByteArray();
    QTest::newRow("an active device writes nothing") << "dev_hwup:settings.hwup.capturefps=\\xff" << "--device-active" << "" << QByteArray();
    QTest::newRow("--hyper-fps keeps a free rate") << "dev_hwup:settings.hwup.capturefps=1000" << "--hyper-fps" << "UNI" << QByteArray("1000");
    // clang-format on
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
