#include "settings/UniSettingsWidget.h"
#include "ui_UniSettingsWidget.h"

#include "host/DevHwupModule.h"
#include "host/WheelFilter.h"
#include "lookup/ModuleLookup.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsKeys.h"
#include "settings/StoredNumber.h"
#include "settings/StyledPopup.h"
#include "wmi/MachineInfo.h"

#include <QMap>
#include <QSignalBlocker>

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

// Looked up afresh on every use: the plug-in keeps nothing of a peer.
SettingsStore &hwupStore()
{
    return lookupModule<DevHwupModule>(orvane::Application::instance(), kHwupModule)->settings();
}

bool connectionModeEnabled(const SettingsStore &store)
{
    return store.value(kEnableConnectionModeKey, "") == kEnabled;
}

bool isAllowedTimecodeRate(int fps, int rate)
{
    const auto rates = kFpsTimecodeRates.find(fps);
    return rates != kFpsTimecodeRates.end() &&
            std::find(rates->second.begin(), rates->second.end(), rate) != rates->second.end();
}

// A timecode number the page shows, as it is stored: itself when the
// capture rate allows it, otherwise the mark of an unfit rate.
std::string timecodeToStore(int fps, int rate)
{
    return rate != 0 && isAllowedTimecodeRate(fps, rate) ? std::to_string(rate)
                                                         : std::string(kUnfitTimecodeRate);
}

void selectRateItem(QComboBox *box, int rate)
{
    if (rate == 0)
        box->setCurrentIndex(0);
    else
        box->setCurrentText(QString::number(rate));
}

void selectItemByData(QComboBox *box, const std::string &text)
{
    const QString wanted = QString::fromLocal8Bit(text.c_str());
    if (wanted == box->itemData(0).toString())
        box->setCurrentIndex(0);
    else if (wanted == box->itemData(box->count() - 1).toString())
        box->setCurrentIndex(box->count() - 1);
}

std::string currentItemData(QComboBox *box)
{
    return box->itemData(box->currentIndex(), Qt::UserRole).toString().toLocal8Bit().toStdString();
}

// The start both selections share: the stored timecode rate's leading
// number, or none when the stored text is empty or a word (then the
// matching item is already selected).
std::optional<int> storedTimecodeNumber(QComboBox *box)
{
    const std::string stored = hwupStore().value(kTimecodeRateKey, "");
    if (stored.empty()) {
        box->setCurrentIndex(0);
        return std::nullopt;
    }
    if (!std::isdigit(static_cast<unsigned char>(stored[0]))) {
        selectItemByData(box, stored);
        return std::nullopt;
    }
    return leadingNumber(stored);
}

void selectStoredTimecodeRate(QComboBox *box)
{
    if (const std::optional<int> rate = storedTimecodeNumber(box))
        selectRateItem(box, *rate);
}

void selectAllowedTimecodeRate(QComboBox *box, const std::vector<int> &allowed)
{
    const std::optional<int> rate = storedTimecodeNumber(box);
    if (!rate)
        return;
    if (*rate != 0 && std::find(allowed.begin(), allowed.end(), *rate) != allowed.end())
        selectRateItem(box, *rate);
    else
        box->setCurrentIndex(0);
}

} // namespace

UniSettingsWidget::UniSettingsWidget(bool hyperFps_, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::UniSettingsWidget)
    , captureFps(0)
    , hyperFps(hyperFps_)
{
    ui->setupUi(this);

    setStyledPopup(ui->comboBox_ip_list);
    setStyledPopup(ui->comboBox_fps);
    ui->comboBox_fps->setEditable(hyperFps);
    ui->comboBox_tc_pps->setEditable(hyperFps);
    setStyledPopup(ui->comboBox_connection_mode);

    if (!connectionModeEnabled(hwupStore())) {
        ui->label_connection_mode->setVisible(false);
        ui->comboBox_connection_mode->setVisible(false);
    }

    ui->label_fps_change_notify->setVisible(false);
    ui->label_tc_pps_change_notify->setVisible(false);

    auto *wheelFilter = new WheelFilter(this);
    wheelFilter->watch(ui->comboBox_ip_list);
    wheelFilter->watch(ui->comboBox_fps);
    wheelFilter->watch(ui->comboBox_connection_mode);
}

UniSettingsWidget::~UniSettingsWidget() = default;

void UniSettingsWidget::load()
{
    SettingsStore &store = hwupStore();

    if (connectionModeEnabled(store)) {
        const bool immune = store.value(kConnectionModeKey, "") == kMagneticImmunityMode;
        ui->comboBox_connection_mode->setCurrentIndex(immune ? 1 : 0);
    }

    ui->comboBox_ip_list->clear();
    MachineInfo machine;
    const QMap<QString, QString> addresses = machine.localIpAddresses();
    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it)
        ui->comboBox_ip_list->addItem(it.key());
    if (ui->comboBox_ip_list->count() > 0) {
        const std::string firstAddress = ui->comboBox_ip_list->itemText(0).toUtf8().toStdString();
        ui->comboBox_ip_list->setCurrentText(
                QString::fromUtf8(store.value(kIpKey, firstAddress).c_str()));
    }

    int fps = leadingNumber(store.value(kCaptureFpsKey, std::to_string(kDefaultUniFps)));
    // The list is filled once below; the blocker also unblocks when filling
    // it throws (a peer gone), so the kept page still follows rate changes.
    const QSignalBlocker quietFps(ui->comboBox_fps);
    if (hyperFps) {
        ui->comboBox_fps->setCurrentText(QString::number(fps));
    } else {
        if (!kUniFpsList.contains(fps))
            fps = kDefaultUniFps;
        ui->comboBox_fps->setCurrentIndex(kUniFpsList.indexOf(fps));
    }
    captureFps = fps;
    fillTimecodeRates(captureFps);
}

void UniSettingsWidget::fillTimecodeRates(int fps)
{
    QComboBox *box = ui->comboBox_tc_pps;
    box->clear();
    const auto rates = kFpsTimecodeRates.find(fps);
    if (rates == kFpsTimecodeRates.end())
        return;

    box->addItem(tr("None"), QLatin1String(kNoTimecode));
    for (int rate : rates->second)
        box->addItem(QString::number(rate), QString::number(rate));
    box->addItem(tr("Local Time"), QLatin1String(kLocalTimecode));

    if (hyperFps)
        selectAllowedTimecodeRate(box, rates->second);
    else
        selectStoredTimecodeRate(box);
}

void UniSettingsWidget::on_comboBox_fps_currentIndexChanged(int index)
{
    if (index >= 0 && index < kUniFpsList.size()) {
        fillTimecodeRates(kUniFpsList[index]);
        return;
    }
    // Only an editable (hyper-mode) box has items beyond the fixed seven: a
    // rate the user typed and confirmed. Build the list for its leading
    // number, as the load does for a stored text, so that a typed "120"
    // offers what the item "120  *No Glove(s)" offers.
    fillTimecodeRates(leadingNumber(ui->comboBox_fps->itemText(index).toUtf8().toStdString()));
}

std::string UniSettingsWidget::hyperTimecodeToStore()
{
    QComboBox *box = ui->comboBox_tc_pps;
    const int index = box->currentIndex();
    const QString shown = box->currentText();
    if (index >= 0 && shown == box->itemText(index))
        return currentItemData(box);

    // The field shows something else: a rate the load put there or the user
    // typed. Treat it as the normal-mode save treats the shown text: a
    // number allowed for the capture rate in the frame-rate field is stored
    // as that number, any other number as "0".
    bool isNumber = false;
    const int rate = shown.toInt(&isNumber, 10);
    if (isNumber) {
        const int fps = leadingNumber(ui->comboBox_fps->currentText().toUtf8().toStdString());
        return timecodeToStore(fps, rate);
    }
    // No number: a typed item text ("Local Time") means that item; anything
    // else keeps the choice the box holds, and an empty box stores "none",
    // so the store only ever holds the values the load understands.
    const int typedItem = box->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (typedItem >= 0)
        return box->itemData(typedItem).toString().toLocal8Bit().toStdString();
    return index >= 0 ? currentItemData(box) : std::string(kNoTimecode);
}

bool UniSettingsWidget::apply()
{
    SettingsStore &store = hwupStore();

    store.setValue(kIpKey, ui->comboBox_ip_list->currentText().toUtf8().toStdString());

    if (hyperFps) {
        store.setValue(kCaptureFpsKey, ui->comboBox_fps->currentText().toUtf8().toStdString());
        store.setValue(kTimecodeRateKey, hyperTimecodeToStore());
    } else {
        // The box is not editable, so its position is always one of the seven.
        const int fps = kUniFpsList.value(ui->comboBox_fps->currentIndex(), kDefaultUniFps);
        store.setValue(kCaptureFpsKey, std::to_string(fps));

        bool isNumber = false;
        const int rate = ui->comboBox_tc_pps->currentText().toInt(&isNumber, 10);
        store.setValue(kTimecodeRateKey,
                       isNumber ? timecodeToStore(fps, rate) : currentItemData(ui->comboBox_tc_pps));
    }

    if (connectionModeEnabled(store)) {
        const bool immune = ui->comboBox_connection_mode->currentIndex() == 1;
        store.setValue(kConnectionModeKey, immune ? kMagneticImmunityMode : kNormalMode);
    }
    return true;
}

void UniSettingsWidget::cancel() { }

bool UniSettingsWidget::validate() { return true; }

void UniSettingsWidget::retranslate()
{
    // Re-setting the text of the current item also resets an editable box's
    // field to that text, which would replace the rate a hyper-mode load or
    // the user put there; keep what the field shows.
    const QString shownFps = ui->comboBox_fps->currentText();
    ui->retranslateUi(this);
    if (ui->comboBox_fps->isEditable())
        ui->comboBox_fps->setCurrentText(shownFps);
}

#include "moc_UniSettingsWidget.cpp" // NOLINT(bugprone-suspicious-include): moc's output
