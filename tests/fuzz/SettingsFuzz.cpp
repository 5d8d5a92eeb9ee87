#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsPage.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <winapi/WinapiSeam.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

const char kWorkMode[] = "current_workmode";
const char kIp[] = "settings.hwup.ip";
const char kCaptureFps[] = "settings.hwup.capturefps";
const char kTimecode[] = "settings.hwup.local_timecode_rate";
const char kMode[] = "settings.hwup.connectionmode";
const char kEnableMode[] = "settings.hwup.enableconnectionmode";
const char *const kPageKeys[] = {kWorkMode, kTimecode, kEnableMode, kMode, kCaptureFps, kIp};
// Values the seeds and the mutator can reach by picking instead of typing.
const char *const kHints[] = {"",
                              "UNI",
                              "hybird",
                              "96",
                              "120  *No Glove(s)",
                              "240",
                              "75",
                              "none",
                              "local",
                              "Local",
                              "0",
                              "30",
                              "24",
                              "true",
                              "TRUE",
                              "normal",
                              "magnetic immunity",
                              "Magnetic Immunity",
                              "-1",
                              "99999999999",
                              "192.168.0.10"};

// Store values: either one of the hints or arbitrary bytes.
std::string storedText(FuzzInput &in)
{
    const int choice = in.pick(2 * int(std::size(kHints)));
    if (choice < int(std::size(kHints)))
        return kHints[choice];
    return in.text();
}

// A handful of scripted adapters, so the address list is the input's and not
// the machine's.
void scriptAdapters(FuzzInput &in)
{
    using winapi_seam::Row;
    using winapi_seam::Value;
    std::vector<Row> adapters, configurations;
    const int count = in.pick(4);
    for (int i = 0; i < count; ++i) {
        const std::string address = in.flag() ? in.text(24) : "10.0.0." + std::to_string(i + 1);
        const std::wstring wide(address.begin(), address.end());
        adapters.push_back({{L"MACAddress", Value::text(L"00:11:22:33:44:5" + std::to_wstring(i))},
                            {L"Index", Value::int32(i)},
                            {L"NetConnectionStatus", Value::int32(2)},
                            {L"PNPDeviceID", Value::text(L"PCI\\VEN_" + std::to_wstring(i))}});
        configurations.push_back(
                {{L"Index", Value::int32(i)}, {L"IPAddress", Value::textArray({wide})}});
    }
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
}

template<typename T>
T *child(QWidget *page, const char *name)
{
    T *found = page->findChild<T *>(QString::fromLatin1(name));
    FUZZ_CHECK(found != nullptr, std::string("the page has no ") + name);
    return found;
}

// One user action on the page: pick an item, type a text (hyper mode), or
// switch the device type.
void userAction(FuzzInput &in, QWidget *page)
{
    static const char *const boxes[] = {"comboBox_ip_list", "comboBox_fps", "comboBox_tc_pps",
                                        "comboBox_connection_mode"};
    const int what = in.pick(4);
    if (what == 3) {
        const char *radio = in.flag() ? "radioButton_mode_hybird" : "radioButton_mode_inertia";
        if (QRadioButton *button = child<QRadioButton>(page, radio))
            button->setChecked(true);
        return;
    }
    QComboBox *box = child<QComboBox>(page, boxes[in.pick(4)]);
    if (!box)
        return;
    if (what == 2 && box->isEditable()) {
        // Typing and confirming, as a user does in an editable box.
        box->lineEdit()->setText(QString::fromUtf8(storedText(in).c_str()));
        if (in.flag())
            emit box->lineEdit()->returnPressed();
        return;
    }
    // A list box always keeps one of its items current: nobody can pick
    // "nothing" from it.
    if (box->count() > 0)
        box->setCurrentIndex(in.pick(box->count()));
}

std::set<std::string> allowedTimecodes(int fps)
{
    std::set<std::string> allowed{"none", "local", "0"};
    const auto rates = kFpsTimecodeRates.find(fps);
    if (rates != kFpsTimecodeRates.end())
        for (int rate : rates->second)
            allowed.insert(std::to_string(rate));
    return allowed;
}

// Hyper mode stores what the timecode box shows: the item's data when it
// shows an item, the typed number (or "0" when it does not fit), and an
// item's data for any other typed text.
void checkShownTimecode(const QComboBox &box, const std::string &stored)
{
    const QString shown = box.currentText();
    const int index = box.currentIndex();
    if (index >= 0 && shown == box.itemText(index)) {
        FUZZ_CHECK(stored == box.itemData(index).toString().toStdString(),
                   "timecode " + stored + " is not the data of the item shown");
        return;
    }
    bool isNumber = false;
    const int typed = shown.toInt(&isNumber, 10);
    if (isNumber) {
        FUZZ_CHECK(stored == std::to_string(typed) || stored == "0",
                   "timecode " + stored + " is not the typed " + shown.toStdString());
        return;
    }
    bool isItemData = stored == "none";
    for (int i = 0; i < box.count(); ++i)
        isItemData = isItemData || stored == box.itemData(i).toString().toStdString();
    FUZZ_CHECK(isItemData, "timecode " + stored + " is not an item's data");
}

void checkWrites(const MemorySettingsStore &store, const std::set<std::string> &writable,
                 const char *which)
{
    for (const MemorySettingsStore::Call &call : store.calls())
        if (call.kind != MemorySettingsStore::Call::Read)
            FUZZ_CHECK(writable.count(call.key) != 0,
                       std::string("apply touched ") + call.key + " in the " + which + " store");
}

} // namespace

// The Device page with arbitrary stored values and user choices, in both
// modes: load and apply never crash, and what apply writes is one of the
// values the page offers (normal mode) or what its boxes show (hyper mode),
// under the page's own keys only.
int fuzzSettings(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    orvane::StudioApplication &app = orvane::StudioApplication::instance();
    app.reset();
    winapi_seam::reset();

    HostPeers peers;
    peers.registerAll(app);
    const bool hyper = in.flag();
    app.hostFlags().setFlag("uis_dev.hyper_fps", hyper);
    std::vector<std::string> kinds;
    if (in.flag())
        kinds.push_back("UNI");
    if (in.flag())
        kinds.push_back("hybird");
    peers.studio->hostCore().hostDevices().setKindNames(kinds);
    const bool active = in.pick(4) == 0;
    if (active) {
        auto device = std::make_shared<HostDevice>();
        device->setActive(true);
        peers.studio->hostCore().hostDevices().setCurrentDevice(device);
    }

    for (const char *key : kPageKeys) {
        if (in.flag())
            peers.appStore->setValue(key, storedText(in));
        if (in.flag())
            peers.hwupStore->setValue(key, storedText(in));
    }
    // A key of someone else's in each store: the page must leave it alone.
    peers.appStore->setValue("other.key", "app");
    peers.hwupStore->setValue("other.key", "hwup");
    peers.mirelStore->setValue("fps", "90");
    scriptAdapters(in);

    SettingsPage page;
    QWidget *widget = page.widget(nullptr);
    FUZZ_CHECK(widget != nullptr, "no page widget");
    if (!widget)
        return 0;

    const int actions = in.pick(8);
    for (int i = 0; i < actions; ++i)
        userAction(in, widget);

    const auto appBefore = peers.appStore->entries();
    const auto hwupBefore = peers.hwupStore->entries();
    const auto mirelBefore = peers.mirelStore->entries();
    peers.appStore->setRecording(true);
    peers.hwupStore->setRecording(true);
    FUZZ_CHECK(page.apply(), "apply answered false");

    FUZZ_CHECK(peers.mirelStore->entries() == mirelBefore, "apply changed the hybrid store");
    checkWrites(*peers.appStore, {kWorkMode}, "application");
    checkWrites(*peers.hwupStore, {kIp, kCaptureFps, kTimecode, kMode}, "dev_hwup");
    const auto appAfter = peers.appStore->entries();
    const auto hwup = peers.hwupStore->entries();
    if (active) {
        FUZZ_CHECK(appAfter == appBefore && hwup == hwupBefore,
                   "apply wrote while the device is active");
    } else if (appAfter.at(kWorkMode) == "hybird") {
        FUZZ_CHECK(hwup == hwupBefore, "apply wrote device settings for the hybrid device");
    } else {
        FUZZ_CHECK(appAfter.at(kWorkMode) == "UNI", "work mode is neither UNI nor hybird");
        const std::string fps = hwup.at(kCaptureFps);
        const std::string timecode = hwup.at(kTimecode);
        const std::string ip = hwup.at(kIp);
        auto *ipBox = child<QComboBox>(widget, "comboBox_ip_list");
        auto *fpsBox = child<QComboBox>(widget, "comboBox_fps");
        FUZZ_CHECK(ipBox && ip == ipBox->currentText().toStdString(), "stored address differs");
        if (!hyper) {
            const int rate = std::atoi(fps.c_str());
            FUZZ_CHECK(kUniFpsList.contains(rate) && fps == std::to_string(rate),
                       "capture rate " + fps + " is not offered");
            FUZZ_CHECK(allowedTimecodes(rate).count(timecode) != 0,
                       "timecode rate " + timecode + " is not allowed with " + fps);
        } else {
            FUZZ_CHECK(fpsBox && fps == fpsBox->currentText().toUtf8().toStdString(),
                       "stored capture rate differs from the box: " + fps);
            auto *tcBox = child<QComboBox>(widget, "comboBox_tc_pps");
            if (tcBox)
                checkShownTimecode(*tcBox, timecode);
        }
        const bool enabled = hwupBefore.count(kEnableMode) && hwupBefore.at(kEnableMode) == "true";
        const bool modeWritten =
                std::any_of(peers.hwupStore->calls().begin(), peers.hwupStore->calls().end(),
                            [](const auto &call) {
                                return call.kind == MemorySettingsStore::Call::Write &&
                                        call.key == kMode;
                            });
        FUZZ_CHECK(modeWritten == enabled, "connecting mode written although disabled, or not");
        if (enabled)
            FUZZ_CHECK(hwup.at(kMode) == "normal" || hwup.at(kMode) == "magnetic immunity",
                       "connecting mode " + hwup.at(kMode));
    }
    peers.appStore->setRecording(false);
    peers.hwupStore->setRecording(false);

    // Restoring the defaults clears the six keys in both stores and keeps
    // everyone else's.
    if (in.flag()) {
        page.restoreDefaults();
        for (const char *key : kPageKeys)
            FUZZ_CHECK(!peers.appStore->contains(key) && !peers.hwupStore->contains(key),
                       std::string("restore kept ") + key);
        FUZZ_CHECK(peers.appStore->value("other.key", "") == "app", "restore removed a foreign key");
        FUZZ_CHECK(peers.hwupStore->value("other.key", "") == "hwup",
                   "restore removed a foreign key");
    }
    page.releaseWidget(true);
    app.reset();
    return 0;
}
