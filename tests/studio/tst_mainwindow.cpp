#include "MainWindow.h"
#include "SettingsDialog.h"
#include "StudioSession.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostDevice.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { orvane::StudioApplication::instance().reset(); }

    void statusAndDeviceMenu();
    void writesAreShownAndFailuresReported_data();
    void writesAreShownAndFailuresReported();
};

// Guards against the status line reading the wrong store or key, printing
// raw control characters of a hostile value, and the Device menu not
// reaching the device the page asks about.
void tst_MainWindow::statusAndDeviceMenu()
{
    QTemporaryDir config;
    StudioSession session(orvane::StudioApplication::instance(), config.path(), {"UNI"});
    session.store("vendrel-studio")->setValue("current_workmode", "hybird");
    session.store("dev_hwup")->setValue("settings.hwup.ip", "10.1.2.3\nsecond line");
    session.store("vendrel-studio")->setValue("settings.hwup.capturefps", "30"); // wrong store
    MainWindow window(session);
    QCOMPARE(window.statusText(),
             QString("Work mode: hybird · Address: 10.1.2.3\uFFFDsecond line · Capture rate: — · "
                     "Timecode rate: — · Device: disconnected"));
    auto *connect = window.findChild<QAction *>("actionConnect");
    connect->trigger();
    QVERIFY(session.device().isActive() && !connect->isEnabled());
    QVERIFY(window.statusText().endsWith("Device: connected"));
}

void tst_MainWindow::writesAreShownAndFailuresReported_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("unsaved"); // dev_hwup.conf is a folder: no save can succeed

    QTest::newRow("Apply") << int(QDialogButtonBox::Apply) << false;
    QTest::newRow("Apply, not saved") << int(QDialogButtonBox::Apply) << true;
    QTest::newRow("Restore Defaults") << int(QDialogButtonBox::RestoreDefaults) << false;
    QTest::newRow("Restore Defaults, not saved") << int(QDialogButtonBox::RestoreDefaults) << true;
}

// Guards against a status line that still shows what Apply or Restore
// Defaults replaced, and a failed save of either passing without a word.
void tst_MainWindow::writesAreShownAndFailuresReported()
{
    if (!QFile::exists(STUDIO_BIN_DIR "/uis_dev.plg"))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QFETCH(int, button);
    QFETCH(bool, unsaved);
    QTemporaryDir config;
    QVERIFY(!unsaved || QDir(config.path()).mkdir("dev_hwup.conf"));
    StudioSession session(orvane::StudioApplication::instance(), config.path(), {"UNI"});
    QVERIFY(session.loader().loadFile(STUDIO_BIN_DIR "/uis_dev.plg"));
    FileSettingsStore *store = session.store("dev_hwup");
    // Something for Restore Defaults to remove; Apply writes where there was nothing.
    if (button == QDialogButtonBox::RestoreDefaults)
        store->setValue("settings.hwup.capturefps", "120");
    MainWindow window(session);
    const QString before = window.statusText();
    SettingsDialog *dialog = window.openSettings("Device");
    dialog->findChild<QDialogButtonBox *>()
            ->button(QDialogButtonBox::StandardButton(button))
            ->click();

    const std::string rate = store->value("settings.hwup.capturefps", "—");
    QVERIFY(window.statusText() != before);
    QVERIFY2(window.statusText().contains(QString::fromStdString("Capture rate: " + rate)),
             qPrintable(window.statusText()));
    const auto *box = window.findChild<QMessageBox *>();
    QCOMPARE(box != nullptr, unsaved);
    QVERIFY(!box || box->text().contains("dev_hwup.conf: not saved: a folder"));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
