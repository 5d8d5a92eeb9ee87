#include "FuzzHarness.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsPage.h"
#include "tests/settings/PageTestHost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Values the seeds and the mutator reach by picking instead of typing.
const char *const kHints[] = {"",   "UNI",         "hybird",  "96",    "120  *No Glove(s)",
                              "75", "none",        "local",   "Local", "0",
                              "30", "24",          "true",    "TRUE",  "magnetic immunity",
                              "-1", "99999999999", "10.0.0.1"};

std::string storedText(fuzz::Input &in)
{
    const int choice = in.pick(2 * int(std::size(kHints)));
    return choice < int(std::size(kHints)) ? kHints[choice] : in.text();
}

// One user action: pick an item, type and maybe confirm a text in an
// editable box, or press a device-type button.
void userAction(fuzz::Input &in, QWidget *page)
{
    static const char *const boxes[] = {"comboBox_ip_list", "comboBox_fps", "comboBox_tc_pps",
                                        "comboBox_connection_mode"};
    const int what = in.pick(4);
    if (what == 3) {
        child<QRadioButton>(page, in.flag() ? "radioButton_mode_hybird" : "radioButton_mode_inertia")
                ->setChecked(true);
        return;
    }
    auto *box = child<QComboBox>(page, boxes[in.pick(4)]);
    if (what == 2 && box->isEditable()) {
        box->lineEdit()->setText(QString::fromStdString(storedText(in)));
        if (in.flag())
            emit box->lineEdit()->returnPressed();
    } else if (box->count() > 0) {
        box->setCurrentIndex(in.pick(box->count()));
    }
}

} // namespace

// The Device page with any stored values, host set-up and user choices, in
// both modes: nothing crashes, and a save writes only the page's keys, only
// values the page offers (normal mode) or shows (hyper mode), nothing for
// an active device; restoring the defaults clears the page's keys only.
int fuzzSettings(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    QStringList adapters;
    for (int i = in.pick(4); i > 0; --i)
        adapters << (in.flag() ? QString::fromStdString(in.text(24)) : QString("10.0.0.%1").arg(i));
    PageTestHost host(adapters);
    const bool hyper = in.flag();
    host.setHyperFps(hyper);
    std::vector<std::string> kinds;
    for (const char *kind : {"UNI", "hybird"})
        if (in.flag())
            kinds.push_back(kind);
    host.peers->studio->hostCore().hostDevices().setKindNames(kinds);
    const bool active = in.pick(4) == 0;
    auto device = std::make_shared<HostDevice>();
    device->setActive(active);
    host.peers->studio->hostCore().hostDevices().setCurrentDevice(device);
    for (auto it = PageTestHost::keys().cbegin(); it != PageTestHost::keys().cend(); ++it)
        if (in.flag())
            host.storeOf(it.key()).setValue(it.value(), storedText(in));
    const bool enabled =
            host.peers->hwupStore->value("settings.hwup.enableconnectionmode", "") == "true";
    host.store({"other=kept"});

    SettingsPage page;
    QWidget *widget = page.widget(nullptr);
    for (int i = in.pick(8); i > 0; --i)
        userAction(in, widget);
    FUZZ_CHECK(host.changes().isEmpty(), "choosing wrote to a store");
    FUZZ_CHECK(page.apply(), "apply answered false");
    const QStringList changes = host.changes();
    const std::string what = "apply wrote " + changes.join(" | ").toStdString();
    if (active || changes.value(0) == "work=hybird") {
        FUZZ_CHECK(changes.size() == (active ? 0 : 1), what);
    } else {
        QStringList names;
        for (const QString &change : changes)
            names << change.section('=', 0, 0);
        FUZZ_CHECK(changes.value(0) == "work=UNI" &&
                           names ==
                                   QStringList({"work", "ip", "fps", "tc"}) +
                                           (enabled ? QStringList{"mode"} : QStringList()),
                   what);
        const std::string fps = host.peers->hwupStore->value("settings.hwup.capturefps", "");
        const std::string tc =
                host.peers->hwupStore->value("settings.hwup.local_timecode_rate", "");
        const int rate = std::atoi(fps.c_str());
        const auto allowed = kFpsTimecodeRates.find(rate);
        bool tcOffered = tc == "none" || tc == "local" || tc == "0";
        for (int t : allowed != kFpsTimecodeRates.end() ? allowed->second : std::vector<int>())
            tcOffered = tcOffered || tc == std::to_string(t);
        if (!hyper)
            FUZZ_CHECK(kUniFpsList.contains(rate) && fps == std::to_string(rate) && tcOffered, what);
        else
            FUZZ_CHECK(fps == child<QComboBox>(widget, "comboBox_fps")->currentText().toStdString(),
                       what);
        FUZZ_CHECK(!enabled || changes.last() == "mode=normal" ||
                           changes.last() == "mode=magnetic immunity",
                   what);
    }
    if (in.flag()) {
        page.restoreDefaults();
        for (const std::string &key : PageTestHost::keys())
            FUZZ_CHECK(key == "fps" ||
                               (!host.peers->appStore->contains(key) &&
                                !host.peers->hwupStore->contains(key)),
                       "restoring the defaults kept " + key);
        FUZZ_CHECK(host.peers->hwupStore->contains("other"), "restoring removed a foreign key");
    }
    return 0;
}
