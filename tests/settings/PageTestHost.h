#pragma once

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <winapi/WinapiSeam.h>

#include <QComboBox>
#include <QMetaType>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Keys with the text written to them, in the order of the writes.
using StoreWrites = std::vector<std::pair<std::string, std::string>>;
Q_DECLARE_METATYPE(StoreWrites)

// Readable failures for the store comparisons.
namespace QTest {
template<>
inline char *toString(const StoreWrites &writes)
{
    QByteArray text;
    for (const auto &write : writes)
        text += QByteArray::fromStdString(write.first) + "=\"" +
                QByteArray::fromStdString(write.second) + "\" ";
    return qstrdup(text.constData());
}
template<>
inline char *toString(const std::vector<std::string> &keys)
{
    QByteArray text;
    for (const std::string &key : keys)
        text += QByteArray::fromStdString(key) + ' ';
    return qstrdup(text.constData());
}
} // namespace QTest

// The host as the settings dialog sees it, made afresh for each test: the
// four peers over in-memory stores (recording their calls) and a machine
// whose connected adapters the test scripts through the COM/WMI stand-in.
class PageTestHost
{
public:
    PageTestHost()
    {
        reset();
        peers = std::make_unique<HostPeers>();
        peers->registerAll(app());
        peers->appStore->setRecording(true);
        peers->hwupStore->setRecording(true);
        peers->mirelStore->setRecording(true);
        scriptAdapters({"192.168.0.10", "10.0.0.2"});
    }
    ~PageTestHost() { reset(); }

    static orvane::StudioApplication &app() { return orvane::StudioApplication::instance(); }

    static void reset()
    {
        app().reset();
        winapi_seam::reset();
    }

    void setHyperFps(bool on) { app().hostFlags().setFlag("uis_dev.hyper_fps", on); }

    // Connected physical adapters, one address each, in enumeration order.
    static void scriptAdapters(const QStringList &addresses)
    {
        using winapi_seam::Value;
        std::vector<winapi_seam::Row> adapters;
        std::vector<winapi_seam::Row> configurations;
        int index = 1;
        for (const QString &address : addresses) {
            const std::wstring n = std::to_wstring(index);
            adapters.push_back({{L"Index", Value::int32(index)},
                                {L"MACAddress", Value::text(L"00:1A:2B:3C:4D:0" + n)},
                                {L"NetConnectionStatus", Value::int32(2)},
                                {L"PNPDeviceID", Value::text(L"PCI\\VEN_8086&DEV_100E\\3&" + n)}});
            configurations.push_back({{L"Index", Value::int32(index)},
                                      {L"IPAddress", Value::textArray({address.toStdWString()})}});
            ++index;
        }
        winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
        winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
    }

    static StoreWrites writes(const MemorySettingsStore &store)
    {
        StoreWrites result;
        for (const MemorySettingsStore::Call &call : store.calls()) {
            if (call.kind == MemorySettingsStore::Call::Write)
                result.emplace_back(call.key, call.value);
        }
        return result;
    }

    static std::vector<std::string> keysOf(const MemorySettingsStore &store,
                                           MemorySettingsStore::Call::Kind kind)
    {
        std::vector<std::string> keys;
        for (const MemorySettingsStore::Call &call : store.calls()) {
            if (call.kind == kind)
                keys.push_back(call.key);
        }
        return keys;
    }

    void clearCalls()
    {
        peers->appStore->clearCalls();
        peers->hwupStore->clearCalls();
        peers->mirelStore->clearCalls();
    }

    std::unique_ptr<HostPeers> peers;
};

template<typename T>
T *child(QWidget *root, const char *name)
{
    return root ? root->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

inline QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}
