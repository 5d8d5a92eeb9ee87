#include "FuzzHarness.h"
#include "settings/FrameRateTables.h"
#include "settings/SettingsPage.h"
#include "tests/settings/PageTestHost.h"

namespace {

// Values the seeds and the mutator reach by picking instead of typing.
// clang-format off
const char *const kHints[] = {"", "UNI", "hybird", "96", "120  *No Glove(s)", "75", "none", "local",
        "Local", "0", "30", "24", "true", "TRUE", "-1", "99999999999", "magnetic immunity"};
// clang-format on

std::string storedText(FuzzInput &in)
{
    const int choice = in.pick(2 * int(std::size(kHints)));
    return choice < int(std::size(kHints)) ? kHints[choice] : in.text();
}

// One user action (PageTestHost::act): a device type, an item picked from a
// box, or a typed text.
QString userAction(FuzzInput &in)
{
    const char *const actions[] = {"press hybrid", "press inertial", "pick ip ",  "pick fps ",
                                   "pick tc ",     "pick mode ",     "type fps ", "edit tc "};
    const QString action = actions[in.pick(8)];
    if (action.startsWith("type") || action.startsWith("edit"))
        return action + QString::fromStdString(storedText(in));
    return action.startsWith("pick") ? action + QString::number(in.pick(8)) : action;
}

} // namespace

// The Device page with any stored values, host set-up and user choices, in
// both modes: nothing crashes, and a save writes only the page's keys, only
// values the page offers (normal mode) or shows (hyper mode), nothing for an
// active device.
int fuzzSettings(const uint8_t *data, size_t size)
{
    FuzzInput in{data, size};
    QStringList adapters;
    for (int i = in.pick(4); i > 0; --i)
        adapters << (in.flag() ? QString::fromStdString(in.text(24)) : QString("10.0.0.%1").arg(i));
    PageTestHost host(adapters);
    const bool hyper = in.flag();
    const bool active = in.pick(4) == 0;
    const char *const kinds[] = {"kinds=", "kinds=UNI", "kinds=hybird", "kinds=UNI,hybird"};
    host.given({kinds[in.pick(4)], active ? "device=active" : "device=idle",
                hyper ? "hyper" : "hyper=off"});
    for (auto it = PageTestHost::keys().cbegin(); it != PageTestHost::keys().cend(); ++it)
        if (in.flag())
            host.storeOf(it.key()).setValue(it.value(), storedText(in));
    const bool enabled =
            host.peers->hwupStore->value("settings.hwup.enableconnectionmode", "") == "true";
    host.given({}); // forgets the set-up's calls

    SettingsPage page;
    QWidget *widget = page.widget(nullptr);
    for (int i = in.pick(8); i > 0; --i)
        PageTestHost::act(widget, userAction(in));
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
    return 0;
}
