#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

namespace Ui {
class MainWindow;
}

class SettingsDialog;
class StudioSession;

// The studio's small main window: Settings… opens the settings dialog, the
// Device menu connects and disconnects the simulated current device, and a
// status line shows the values the Device page keeps in the stores.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(StudioSession &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the settings dialog (or raises the open one) on page `pageId`.
    SettingsDialog *openSettings(const std::string &pageId);
    QString statusText() const;

public slots:
    void refreshStatus();

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_actionSettings_triggered();
    void on_actionQuit_triggered();
    void on_actionConnect_triggered();
    void on_actionDisconnect_triggered();

private:
    void setDeviceActive(bool active);
    // Tells the user when a store could not save what the dialog wrote.
    void reportUnsaved();

    std::unique_ptr<Ui::MainWindow> m_ui;
    StudioSession &m_session;
    QPointer<SettingsDialog> m_dialog;
};
