#pragma once

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <winapi/WinapiSeam.h>

#include <QMap>
#include <QStringList>
#include <QWidget>

#include <memory>

// The host as the settings dialog sees it, made afresh for each test: the
// four peers over in-memory stores that record their calls, and a machine
// whose connected adapters the test scripts through the COM/WMI stand-in.
class PageTestHost
{
public:
    explicit PageTestHost(const QStringList &adapters = {"192.168.0.10", "10.0.0.2"})
    {
        reset();
        peers = std::make_unique<HostPeers>();
        peers->registerAll(app());
        for (MemorySettingsStore *store : stores())
            store->setRecording(true);
        scriptAdapters(adapters);
    }
    ~PageTestHost() { reset(); }
    PageTestHost(const PageTestHost &) = delete;
    PageTestHost &operator=(const PageTestHost &) = delete;

    static orvane::StudioApplication &app() { return orvane::StudioApplication::instance(); }
    static void reset()
    {
        app().reset();
        winapi_seam::reset();
    }
    void setHyperFps(bool on) { app().hostFlags().setFlag("uis_dev.hyper_fps", on); }
    std::vector<MemorySettingsStore *> stores() const
    {
        return {peers->appStore.get(), peers->hwupStore.get(), peers->mirelStore.get()};
    }

    // The page's keys by the short names the tables use; "work" lives in the
    // application's store, "fps!" in the hybrid one, the rest in "dev_hwup".
    static const QMap<QString, std::string> &keys()
    {
        static const QMap<QString, std::string> names{{"work", "current_workmode"},
                                                      {"ip", "settings.hwup.ip"},
                                                      {"fps", "settings.hwup.capturefps"},
                                                      {"tc", "settings.hwup.local_timecode_rate"},
                                                      {"mode", "settings.hwup.connectionmode"},
                                                      {"enable",
                                                       "settings.hwup.enableconnectionmode"},
                                                      {"fps!", "fps"}};
        return names;
    }
    MemorySettingsStore &storeOf(const QString &name) const
    {
        return name == "work"    ? *peers->appStore
                : name == "fps!" ? *peers->mirelStore
                                 : *peers->hwupStore;
    }
    // Stores "name=value" entries, then forgets the calls that made them.
    void store(const QStringList &entries)
    {
        for (const QString &entry : entries) {
            const QString name = entry.section('=', 0, 0);
            storeOf(name).setValue(keys().value(name, name.toStdString()),
                                   entry.section('=', 1).toStdString());
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

    // Connected physical adapters, one address each, in enumeration order.
    static void scriptAdapters(const QStringList &addresses)
    {
        using winapi_seam::Value;
        std::vector<winapi_seam::Row> adapters, configurations;
        for (int i = 0; i < addresses.size(); ++i) {
            const std::wstring n = std::to_wstring(i + 1);
            adapters.push_back({{L"Index", Value::int32(i + 1)},
                                {L"MACAddress", Value::text(L"00:1A:2B:3C:4D:0" + n)},
                                {L"NetConnectionStatus", Value::int32(2)},
                                {L"PNPDeviceID", Value::text(L"PCI\\VEN_8086&DEV_100E\\3&" + n)}});
            configurations.push_back(
                    {{L"Index", Value::int32(i + 1)},
                     {L"IPAddress", Value::textArray({addresses[i].toStdWString()})}});
        }
        winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
        winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
    }

    std::unique_ptr<HostPeers> peers;
};

template<typename T>
T *child(const QWidget *root, const char *name)
{
    return root ? root->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}
