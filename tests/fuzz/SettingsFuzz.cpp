#include "FuzzHarness.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsPage.h"
#include "tests/settings/PageTestHost.h"

namespace {

// Values the seeds and the mutator reach by picking instead of typing.
// clang-format off
const char *const kHints[] = {"", "UNI", "hybird", "96", "120  *No Glove(s)", "75", "none", "local", "Local", "0", "30", "24", "true", "TRUE", "-1", "99999999999", "magnetic immunity"};
// clang-format on

std::string storedText(FuzzInput &in)
{
    const int choice = in.pick(2 * int(std::size(kHints)));
    return choice < int(std::size(kHints)) ? kHints[choice] : in.text();
}

// One user action (PageTestHost::act): a device type, a typed text, or an
// item picked from a box; a list box always keeps one of its items current.
QString userAction(FuzzInput &in, QWidget *page)
{
    const std::pair<const char *, const char *> boxes[] = {{"ip", "comboBox_ip_list"},
                                                           {"fps", "comboBox_fps"},
                                                           {"tc", "comboBox_tc_pps"},
                                                           {"mode", "comboBox_connection_mode"}};
    switch (in.pick(3)) {
    case 0:
        return in.flag() ? "hybrid" : "inertial";
    case 1:
        return (in.flag() ? "fpsText=" : "tcText=") + QString::fromStdString(storedText(in));
    default:
        const auto &box = boxes[in.pick(4)];
        const int count = child<QComboBox>(page, box.second)->count();
        return count > 0 ? QString("%1=%2").arg(box.first).arg(in.pick(count)) : QString();
    }
}

} // namespace

// The Device page with any stored values, host set-up and user choices, in
// both modes: nothing crashes, and a save writes only the page's keys, only
// values the page offers (normal mode) or shows (hyper mode), nothing for an
// active device; restoring the defaults clears the page's keys only.
int fuzzSettings(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    QStringList adapters;
    for (int i = in.pick(4); i > 0; --i)
        adapters << (in.flag() ? QString::fromStdString(in.text(24)) : QString("10.0.0.%1").arg(i));
    PageTestHost host(adapters);
    const bool hyper = in.flag();
    host.setHyperFps(hyper);
    const bool active = in.pick(4) == 0;
    const char *const kinds[] = {"kinds=", "kinds=UNI", "kinds=hybird", "kinds=UNI,hybird"};
    host.given(QStringList{kinds[in.pick(4)]} +
               (active ? QStringList{"device=active"} : QStringList()));
    for (auto it = PageTestHost::keys().cbegin(); it != PageTestHost::keys().cend(); ++it)
        if (in.flag())
            host.storeOf(it.key()).setValue(it.value(), storedText(in));
    const bool enabled =
            host.peers->hwupStore->value("settings.hwup.enableconnectionmode", "") == "true";
    host.given({"other=kept"});

    SettingsPage page;
    QWidget *widget = page.widget(nullptr);
    for (int i = in.pick(8); i > 0; --i)
        PageTestHost::act(widget, userAction(in, widget));
    FUZZ_CHECK(host.changes().isEmpty(), "choosing wrote to a store");
    FUZZ_CHECK(page.apply(), "apply answered false");
    // The save as the page's own rules allow it: nothing for an active
    // device, the work mode alone for Hybrid, else the inertial settings with
    // an offered rate (normal mode) or the box's text (hyper mode), and the
    // connecting mode only when enabled.
    const QStringList changes = host.changes();
    const std::string fps = host.peers->hwupStore->value("settings.hwup.capturefps", "");
    const std::string tc = host.peers->hwupStore->value("settings.hwup.local_timecode_rate", "");
    const int rate = std::atoi(fps.c_str());
    const auto allowed = kFpsTimecodeRates.find(rate);
    bool offered = kUniFpsList.contains(rate) && fps == std::to_string(rate) &&
            (tc == "none" || tc == "local" || tc == "0" ||
             std::any_of(allowed->second.begin(), allowed->second.end(),
                         [&](int t) { return std::to_string(t) == tc; }));
    if (hyper)
        offered = fps == child<QComboBox>(widget, "comboBox_fps")->currentText().toStdString();
    QStringList expected{"work=UNI", "ip=", "fps=", "tc="};
    if (enabled)
        expected << (changes.value(4) == "mode=normal" ? "mode=normal" : "mode=magnetic immunity");
    for (int i = 1; i < 4 && i < changes.size(); ++i)
        expected[i] += changes[i].section('=', 1);
    if (active)
        expected.clear();
    else if (changes.value(0) == "work=hybird")
        expected = QStringList{"work=hybird"};
    else
        FUZZ_CHECK(offered, "not an offered rate: " + fps + " " + tc);
    FUZZ_CHECK(changes == expected, "apply wrote " + changes.join(" | ").toStdString());
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
