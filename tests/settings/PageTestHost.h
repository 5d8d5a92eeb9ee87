#pragma once

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostDevice.h"
#include "studio/peers/HostPeers.h"
#include "tests/DataRow.h"
#include "tests/SeamFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

template<typename T>
T *child(const QWidget *root, const char *name)
{
    return root ? root->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// The host as the settings dialog sees it, made afresh for each test: the
// four peers over in-memory stores that record their calls, and a machine
// whose connected adapters the test scripts through the COM/WMI stand-in.
class PageTestHost
{
public:
    explicit PageTestHost(const QStringList &adapters = {"192.168.0.10", "10.0.0.2"})
    {
        app().reset();
        peers = std::make_unique<HostPeers>();
        peers->registerAll(app());
        for (MemorySettingsStore *store : stores())
            store->setRecording(true);
        scriptAdapters(adapters);
    }
    ~PageTestHost() { app().reset(); }

    static orvane::StudioApplication &app() { return orvane::StudioApplication::instance(); }
    std::vector<MemorySettingsStore *> stores() const
    {
        return {peers->appStore.get(), peers->hwupStore.get(), peers->mirelStore.get()};
    }

    // The page's keys by the short names the tables use; "work" lives in the
    // application's store, "fps!" in the hybrid one, the rest in "dev_hwup".
    static const QMap<QString, std::string> &keys()
    {
        // clang-format off
        static const QMap<QString, std::string> names{
                {"work", "current_workmode"}, {"ip", "settings.hwup.ip"},
                {"fps", "settings.hwup.capturefps"}, {"tc", "settings.hwup.local_timecode_rate"},
                {"mode", "settings.hwup.connectionmode"},
                {"enable", "settings.hwup.enableconnectionmode"}, {"fps!", "fps"}};
        // clang-format on
        return names;
    }
    MemorySettingsStore &storeOf(const QString &name) const
    {
        return name == "work"    ? *peers->appStore
                : name == "fps!" ? *peers->mirelStore
                                 : *peers->hwupStore;
    }
    // Sets up the host from "name=value" entries: a stored value by its short
    // name (or its own key, in "dev_hwup"); "kinds", "device" (active or
    // idle), "adapters" with comma-separated values; "lose" removes a peer;
    // "hyper" (or "hyper=off") sets the flag for free frame-rate entry.
    // Then forgets the calls.
    void given(const QStringList &entries) const
    {
        for (const QString &entry : entries) {
            const QString name = entry.section('=', 0, 0);
            const QString value = entry.section('=', 1);
            HostDeviceRegistry &devices = peers->studio->hostCore().hostDevices();
            if (name == "adapters") {
                scriptAdapters(value.split(',', Qt::SkipEmptyParts));
            } else if (name == "kinds") {
                std::vector<std::string> kinds;
                for (const QString &kind : value.split(',', Qt::SkipEmptyParts))
                    kinds.push_back(kind.toStdString());
                devices.setKindNames(kinds);
            } else if (name == "lose") {
                app().removeModule(value.toStdString());
            } else if (name == "hyper") {
                app().hostFlags().setFlag("uis_dev.hyper_fps", value != "off");
            } else if (name == "device") {
                auto device = std::make_shared<HostDevice>();
                device->setActive(value == "active");
                devices.setCurrentDevice(device);
            } else {
                storeOf(name).setValue(keys().value(name, name.toStdString()), value.toStdString());
            }
        }
        for (MemorySettingsStore *store : stores())
            store->clearCalls();
    }
    // The writes ("name=value") and removals ("-name") made since, store by
    // store (application, "dev_hwup", hybrid), each in call order; keys
    // without a short name keep their own.
    QStringList changes() const
    {
        QStringList out;
        for (MemorySettingsStore *store : stores()) {
            for (const MemorySettingsStore::Call &call : store->calls()) {
                const QString name = keys().key(call.key, QString::fromStdString(call.key));
                if (call.kind == MemorySettingsStore::Call::Write)
                    out << name + '=' + QString::fromStdString(call.value);
                else if (call.kind == MemorySettingsStore::Call::Remove)
                    out << '-' + name;
            }
        }
        return out;
    }

    // What the Device page shows, in one line: the offered device types (the
    // checked one starred), then the inertial settings: address/count, frame
    // rate, timecode items (current starred, "=text" when the field shows other
    // text) and connecting mode ("-" for a hidden or empty control).
    static QString shown(QWidget *page)
    {
        QStringList types;
        for (const char *name : {"radioButton_mode_inertia", "radioButton_mode_hybird"}) {
            const auto *radio = child<QRadioButton>(page, name);
            if (!radio->isHidden())
                types << (radio->isChecked() ? "*" : "") + radio->text();
        }
        const auto *ip = child<QComboBox>(page, "comboBox_ip_list");
        const auto *tc = child<QComboBox>(page, "comboBox_tc_pps");
        const auto *mode = child<QComboBox>(page, "comboBox_connection_mode");
        QStringList rates;
        for (int i = 0; i < tc->count(); ++i)
            rates << (i == tc->currentIndex() ? "*" : "") + tc->itemText(i);
        if (tc->currentIndex() >= 0 && tc->currentText() != tc->itemText(tc->currentIndex()))
            rates.last() += '=' + tc->currentText();
        QString line = QStringLiteral("%1 | ip %2/%3 | fps %4 | tc %5 | mode %6")
                               .arg(types.isEmpty() ? "-" : types.join(' '), ip->currentText())
                               .arg(ip->count())
                               .arg(child<QComboBox>(page, "comboBox_fps")->currentText(),
                                    rates.isEmpty() ? "-" : rates.join(','),
                                    mode->isHidden() ? "-" : mode->currentText());
        if (ip->parentWidget()->isHidden())
            line += " | settings hidden";
        return page->isEnabled() ? line : line + " | locked";
    }

    // A user's action on the page, a verb and what it acts on: "pick fps 5"
    // picks item 5 of the ip, fps, tc or mode box; "type fps 200" types and
    // confirms a frame rate; "edit tc 25" edits the timecode field; "press
    // hybrid" or "press inertial" presses a device type's button; "lose
    // dev_hwup" removes a peer. False for an unknown action.
    static bool act(QWidget *page, const QString &action)
    {
        const QString verb = action.section(' ', 0, 0);
        const QString what = action.section(' ', 1, 1);
        const QString value = action.section(' ', 2);
        // clang-format off
        const QMap<QString, const char *> names{
                {"ip", "comboBox_ip_list"}, {"fps", "comboBox_fps"}, {"tc", "comboBox_tc_pps"},
                {"mode", "comboBox_connection_mode"}, {"hybrid", "radioButton_mode_hybird"},
                {"inertial", "radioButton_mode_inertia"}};
        // clang-format on
        auto *box = child<QComboBox>(page, names.value(what, ""));
        if (auto *radio = child<QRadioButton>(page, names.value(what, ""));
            verb == "press" && radio) {
            radio->setChecked(true);
        } else if (verb == "lose") {
            app().removeModule(what.toStdString());
        } else if (verb == "type" && what == "fps" && box->isEditable()) {
            box->lineEdit()->setText(value);
            emit box->lineEdit()->returnPressed();
        } else if (verb == "edit" && what == "tc") {
            box->setEditText(value);
        } else if (verb == "pick" && box) { // a list box keeps one of its items current
            box->setCurrentIndex(qMin(value.toInt(), box->count() - 1));
        } else {
            return false;
        }
        return true;
    }

    SeamGuard seam;
    std::unique_ptr<HostPeers> peers;
};
