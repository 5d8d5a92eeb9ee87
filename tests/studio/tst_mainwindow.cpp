#include "MainWindow.h"
#include "SettingsDialog.h"
#include "StudioSession.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostDevice.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { orvane::StudioApplication::instance().reset(); }

    void statusShowsStoredValues();
    void deviceMenuTogglesDevice();
    void statusFollowsApply();
};

// Guards against the status line reading the wrong store or key, or
// printing raw control characters of a hostile value.
void tst_MainWindow::statusShowsStoredValues()
{
    QTemporaryDir config;
    StudioSession session(orvane::StudioApplication::instance(), config.path(), {"UNI"});
    session.store("vendrel-studio")->setValue("current_workmode", "hybird");
    session.store("dev_hwup")->setValue("settings.hwup.ip", "10.1.2.3\nsecond line");
    session.store("dev_hwup")->setValue("settings.hwup.capturefps", "96");
    // Same key in the wrong store must not show.
    session.store("vendrel-studio")->setValue("settings.hwup.local_timecode_rate", "30");
    MainWindow window(session);
    const QString status = window.statusText();
    QVERIFY2(status.contains("Work mode: hybird"), qPrintable(status));
    QVERIFY2(status.contains(QString("Address: 10.1.2.3") + QChar(QChar::ReplacementCharacter) +
                             "second line"),
             qPrintable(status));
    QVERIFY2(status.contains("Capture rate: 96"), qPrintable(status));
    QVERIFY2(status.contains(QString("Timecode rate: —")), qPrintable(status));
    QVERIFY2(status.contains("Device: disconnected"), qPrintable(status));
}

// Guards against the Device menu not reaching the device the page asks
// about, or offering to connect a connected device.
void tst_MainWindow::deviceMenuTogglesDevice()
{
    QTemporaryDir config;
    StudioSession session(orvane::StudioApplication::instance(), config.path(), {"UNI"});
    MainWindow window(session);
    auto *connect = window.findChild<QAction *>("actionConnect");
    auto *disconnect = window.findChild<QAction *>("actionDisconnect");
    QVERIFY(connect->isEnabled() && !disconnect->isEnabled());
    connect->trigger();
    QVERIFY(session.device().isActive());
    QVERIFY(window.statusText().contains("Device: connected"));
    QVERIFY(!connect->isEnabled() && disconnect->isEnabled());
    disconnect->trigger();
    QVERIFY(!session.device().isActive());
    QVERIFY(window.statusText().contains("Device: disconnected"));
}

// Guards against a stale status line after the dialog applied.
void tst_MainWindow::statusFollowsApply()
{
    QTemporaryDir config;
    StudioSession session(orvane::StudioApplication::instance(), config.path(), {"UNI"});
    MainWindow window(session);
    SettingsDialog *dialog = window.openSettings("Device");
    QVERIFY(dialog && dialog->isVisible());
    session.store("dev_hwup")->setValue("settings.hwup.capturefps", "120");
    QVERIFY(!window.statusText().contains("120"));
    dialog->applyAll();
    QVERIFY(window.statusText().contains("Capture rate: 120"));
    // Settings… again raises the same dialog rather than a second one.
    QCOMPARE(window.openSettings("Device"), dialog);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
