// The Windows build under Wine, against the Linux build: the same scenarios
// must store the same values and show the same controls. Run by
// `./dev windows`, which names the Windows run folder in UIS_WINDOWS_BIN.

#include "tests/studio/StudioProcess.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAddressBox = QStringLiteral("comboBox_ip_list");
const QByteArray kAddressKey = QByteArrayLiteral("settings.hwup.ip");

// Output of Wine's console programs: CRLF line ends, UTF-16 for wmic.
QStringList outputLines(const QByteArray &bytes, bool utf16)
{
    QString text = utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                              bytes.size() / 2)
                         : QString::fromUtf8(bytes);
    return text.remove(QChar(0xfeff)).remove('\r').split('\n', Qt::SkipEmptyParts);
}

QByteArray run(const QString &program, const QStringList &arguments, bool wine)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (wine)
        env.remove("QT_QPA_PLATFORM"); // the Windows kit has only its `windows` platform
    else
        env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(wine ? QStringLiteral("wine") : program,
                  wine ? QStringList{program} + arguments : arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return "<did not finish>";
    return process.exitCode() == 0 ? process.readAllStandardOutput()
                                   : "<exit " + QByteArray::number(process.exitCode()) + ">";
}

// Everything but the addresses, which come from each machine's own adapters.
QJsonObject withoutAddresses(QJsonObject state)
{
    state.remove(kAddressBox);
    return state;
}

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

// The current row's name as a file name: "stored values, Restore Defaults"
// becomes "stored-values-restore-defaults".
QString fileTag()
{
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).toLower();
    return tag.isEmpty()
            ? QStringLiteral("addresses")
            : tag.split(QRegularExpression("[^a-z0-9]+"), Qt::SkipEmptyParts).join('-');
}

} // namespace

class tst_WindowsParity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameAsLinux_data();
    void sameAsLinux();
    void addressesAsWmicReports();

private:
    // Runs the Windows studio with `arguments`; page state in `state`.
    QByteArray windowsStudio(const QString &config, const QStringList &arguments,
                             const QString &state);
    QString m_bin;
    QTemporaryDir m_dir;
};

void tst_WindowsParity::initTestCase()
{
    m_bin = qEnvironmentVariable("UIS_WINDOWS_BIN");
    if (m_bin.isEmpty())
        QSKIP("needs the Windows run folder in UIS_WINDOWS_BIN (./dev windows sets it)");
    QVERIFY(m_dir.isValid());
}

QByteArray tst_WindowsParity::windowsStudio(const QString &config, const QStringList &arguments,
                                            const QString &state)
{
    // A Unix path reaches a Windows program through Wine's Z: drive.
    const QString shots = qEnvironmentVariable("UIS_WINDOWS_SHOTS", m_dir.path());
    return run(m_bin + "/studio.exe",
               arguments +
                       QStringList{"--config", "Z:" + config, "--page-state", "Z:" + state,
                                   "--screenshot", "Z:" + shots + "/" + fileTag() + ".png"},
               true);
}

void tst_WindowsParity::sameAsLinux_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QStringList batch{"--settings", "--apply", "--dump"};
    const QStringList stored{"--set", "dev_hwup:settings.hwup.capturefps=120",
                             "--set", "dev_hwup:settings.hwup.local_timecode_rate=30",
                             "--set", "dev_hwup:settings.hwup.enableconnectionmode=true"};
    QTest::newRow("default") << batch;
    QTest::newRow("German") << QStringList{"--lang", "de"} + batch;
    QTest::newRow("device active") << QStringList{"--device-active"} + batch;
    QTest::newRow("stored values") << stored + batch;
    QTest::newRow("stored values, Restore Defaults")
            << stored + QStringList{"--restore-defaults"} + batch;
    QTest::newRow("hybrid") << QStringList{"--set", "vendrel-studio:current_workmode=hybird"} +
                    batch;
    QTest::newRow("hyper frame rates") << QStringList{"--hyper-fps"} + batch;
}

// Guards against the Windows build (PE loader, Win32 stores, the real
// COM/WMI, Qt's windows platform) behaving unlike the Linux one: every
// control's items, current item, visibility, enabled state and
// editability, and every stored value after Apply or Restore Defaults.
void tst_WindowsParity::sameAsLinux()
{
    QFETCH(QStringList, arguments);
    const QString tag = fileTag();
    const QString linux = m_dir.filePath(tag + ".linux"),
                  windows = m_dir.filePath(tag + ".windows");
    const QStringList linuxStores{"--config", linux, "--page-state", linux + ".json"};
    const Dump linuxDump = parseDump(run(STUDIO_BIN_DIR "/studio", arguments + linuxStores, false));
    const QByteArray windowsOut = windowsStudio(windows, arguments, windows + ".json");
    QVERIFY2(windowsOut.startsWith('{'), windowsOut.constData());
    Dump windowsDump = parseDump(windowsOut);
    QVERIFY(!linuxDump.isEmpty());
    for (auto *dump : {&windowsDump, const_cast<Dump *>(&linuxDump)})
        (*dump)["dev_hwup"].remove(kAddressKey);
    QCOMPARE(windowsDump, linuxDump);
    const QJsonObject linuxState = readJson(linux + ".json"),
                      windowsState = readJson(windows + ".json");
    QVERIFY(linuxState.contains("comboBox_fps"));
    QCOMPARE(withoutAddresses(windowsState), withoutAddresses(linuxState));
}

// Guards the address list against Windows' real WMI: what Wine's own wmic
// reports, under the page's rules (connected adapters with a MAC address
// and no ROOT device, the first address of each, IPv4 link-local left out,
// sorted as text), is what the page offers.
void tst_WindowsParity::addressesAsWmicReports()
{
    QMap<QString, QMap<QString, QString>> adapters; // Index → column → value
    for (const QString &query :
         {QStringLiteral("nic get Index,MACAddress,NetConnectionStatus,PNPDeviceID"),
          QStringLiteral("nicconfig get Index,IPAddress")}) {
        const QStringList lines = outputLines(run("wmic", query.split(' '), true), true);
        QVERIFY2(lines.size() > 1, qPrintable(query));
        // A table of fixed-width columns, each as wide as its header.
        const QStringList columns = lines.first().split(' ', Qt::SkipEmptyParts);
        for (const QString &line : lines.mid(1)) {
            QMap<QString, QString> row;
            for (int c = 0; c < columns.size(); ++c) {
                const int from = lines.first().indexOf(columns[c]);
                const int to = c + 1 < columns.size() ? lines.first().indexOf(columns[c + 1])
                                                      : line.size();
                row[columns[c]] = line.mid(from, to - from).trimmed();
            }
            adapters[row["Index"]].insert(row);
        }
    }
    QStringList expected;
    for (const auto &adapter : adapters) {
        const QString first = adapter["IPAddress"].section('"', 1, 1);
        if (adapter["NetConnectionStatus"] == "2" && !adapter["MACAddress"].isEmpty() &&
            !adapter["PNPDeviceID"].startsWith("ROOT") && !first.isEmpty() &&
            !QRegularExpression("^169\\.254\\.\\d{1,3}\\.\\d{1,3}$").match(first).hasMatch())
            expected << first;
    }
    expected.sort();
    expected.removeDuplicates();
    const QString config = m_dir.filePath("wmic"), state = config + ".json";
    QVERIFY(windowsStudio(config, {"--settings", "--dump"}, state).startsWith('{'));
    QJsonArray offered = readJson(state)[kAddressBox].toObject()["items"].toArray();
    QCOMPARE(offered.toVariantList(), QVariant(expected).toList());
}

QTEST_MAIN(tst_WindowsParity)
#include "tst_windowsparity.moc"
