#include "MainWindow.h"
#include "SettingsDialog.h"
#include "StudioSession.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostDevice.h"
#include "tests/DataRow.h"

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
             QString("Work mode: Hybrid · Address: 10.1.2.3\uFFFDsecond line · Capture rate: — · "
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
    QTest::addColumn<QString>("gone"); // when the dev_hwup module goes: "load", "press"
    QTest::addColumn<QString>("message"); // in the message box shown; empty: none
    QTest::addColumn<bool>("stillOpen");

    const int apply = QDialogButtonBox::Apply, ok = QDialogButtonBox::Ok;
    const int restore = QDialogButtonBox::RestoreDefaults;
    const QString notSaved = "dev_hwup.conf: not saved: a folder";
    const QString noModule = "failed on the module “dev_hwup”: no module of that name";
    row("Apply", apply, false, "", "", true);
    row("Apply, not saved", apply, true, "", notSaved, true);
    row("Restore Defaults", restore, false, "", "", true);
    row("Restore Defaults, not saved", restore, true, "", notSaved, true);
    row("Apply, a peer gone", apply, false, "press", noModule, true);
    row("OK, a peer gone: the dialog stays open", ok, false, "press", noModule, true);
    row("a page that failed to load is not applied", ok, false, "load", noModule, false);
}

// Guards against a status line that still shows what Apply or Restore
// Defaults replaced, a failed save of either passing without a word, a
// page's exception escaping the dialog (a crash) or closing it on OK, and
// a half-loaded page being applied over the stored values.
void tst_MainWindow::writesAreShownAndFailuresReported()
{
    if (!QFile::exists(STUDIO_BIN_DIR "/uis_dev.plg"))
        QSKIP("uis_dev.plg is not built yet (build the target uis_dev)");
    QFETCH(int, button);
    QFETCH(bool, unsaved);
    QFETCH(QString, gone);
    QFETCH(QString, message);
    QTemporaryDir config;
    QVERIFY(!unsaved || QDir(config.path()).mkdir("dev_hwup.conf"));
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    StudioSession session(app, config.path(), {"UNI"});
    QVERIFY(session.loader().loadFile(STUDIO_BIN_DIR "/uis_dev.plg"));
    FileSettingsStore *store = session.store("dev_hwup");
    // Something for Restore Defaults to remove; Apply writes where there was nothing.
    if (button == QDialogButtonBox::RestoreDefaults)
        store->setValue("settings.hwup.capturefps", "120");
    MainWindow window(session);
    const QString before = window.statusText();
    if (gone == "load")
        app.removeModule("dev_hwup");
    SettingsDialog *dialog = window.openSettings("Device");
    if (gone == "press")
        app.removeModule("dev_hwup");
    dialog->findChild<QDialogButtonBox *>()
            ->button(QDialogButtonBox::StandardButton(button))
            ->click();
    if (button == QDialogButtonBox::RestoreDefaults) { // it asks first
        dialog->findChild<QMessageBox *>()->button(QMessageBox::RestoreDefaults)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    const std::string rate = store->value("settings.hwup.capturefps", "—");
    QCOMPARE(window.statusText() != before, gone != "load");
    QVERIFY2(window.statusText().contains(QString::fromStdString("Capture rate: " + rate)),
             qPrintable(window.statusText()));
    QStringList shown;
    for (const QMessageBox *box : window.findChildren<QMessageBox *>())
        shown << box->text();
    QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    QVERIFY2(message.isEmpty() || shown.first().contains(message), qPrintable(shown.join('\n')));
    QTEST(dialog->isVisible(), "stillOpen");
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
