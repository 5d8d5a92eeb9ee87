#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "SettingsDialog.h"
#include "StudioSession.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostDevice.h"

#include <QEvent>
#include <QMessageBox>

namespace {

// Stored values are bytes and may hold anything; show them on one line.
QString displayed(const SettingsStore *store, const char *key)
{
    const auto *memory = dynamic_cast<const MemorySettingsStore *>(store);
    if (!memory || !memory->contains(key))
        return MainWindow::tr("—");
    const std::string bytes = memory->value(key, "");
    QString text = QString::fromUtf8(bytes.data(), int(bytes.size()));
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

// The work mode as the Device page names it, not as it is stored.
QString workMode(const SettingsStore *store)
{
    QString stored = displayed(store, "current_workmode");
    if (stored == QLatin1String("UNI"))
        return MainWindow::tr("Inertial");
    if (stored == QLatin1String("hybird"))
        return MainWindow::tr("Hybrid");
    return stored;
}

} // namespace

MainWindow::MainWindow(StudioSession &session, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_session(session)
{
    m_ui->setupUi(this);
    refreshStatus();
}

MainWindow::~MainWindow() { delete m_dialog; }

SettingsDialog *MainWindow::openSettings(const std::string &pageId)
{
    if (!m_dialog) {
        m_dialog = new SettingsDialog(m_session.pages(), this);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dialog, &SettingsDialog::storesWritten, this, &MainWindow::refreshStatus);
        connect(m_dialog, &SettingsDialog::storesWritten, this, &MainWindow::reportUnsaved);
    }
    m_dialog->setDeviceActive(m_session.device().isActive());
    m_dialog->selectPage(pageId);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    return m_dialog;
}

QString MainWindow::statusText() const { return m_ui->label_status->text(); }

void MainWindow::refreshStatus()
{
    const SettingsStore *app = m_session.store("vendrel-studio");
    const SettingsStore *hwup = m_session.store("dev_hwup");
    const bool active = m_session.device().isActive();
    m_ui->label_status->setText(
            tr("Work mode: %1 · Address: %2 · Capture rate: %3 · Timecode rate: %4 · Device: %5")
                    .arg(workMode(app), displayed(hwup, "settings.hwup.ip"),
                         displayed(hwup, "settings.hwup.capturefps"),
                         displayed(hwup, "settings.hwup.local_timecode_rate"),
                         active ? tr("connected") : tr("disconnected")));
    m_ui->actionConnect->setEnabled(!active);
    m_ui->actionDisconnect->setEnabled(active);
}

void MainWindow::reportUnsaved()
{
    const QStringList errors = m_session.writeErrors();
    if (errors.isEmpty())
        return;
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Settings not saved"),
                                errors.join(QLatin1Char('\n')), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::setDeviceActive(bool active)
{
    m_session.device().setActive(active);
    refreshStatus();
    // The page reads the device state when it loads: reload it so it shows.
    if (m_dialog) {
        m_dialog->setDeviceActive(active);
        if (m_dialog->isVisible())
            m_dialog->reloadPages();
    }
}

void MainWindow::on_actionSettings_triggered() { openSettings("Device"); }

void MainWindow::on_actionQuit_triggered() { close(); }

void MainWindow::on_actionConnect_triggered() { setDeviceActive(true); }

void MainWindow::on_actionDisconnect_triggered() { setDeviceActive(false); }

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        refreshStatus();
    }
    QMainWindow::changeEvent(event);
}
