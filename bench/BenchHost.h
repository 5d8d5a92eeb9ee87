#pragma once

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPeers.h"

#include <winapi/WinapiSeam.h>

#include <memory>

// A fresh host for one benchmark: the framework stand-in reset, the four
// peers registered over memory stores, the WMI stand-in answering from this
// machine (no scripted rows, no faults).
struct BenchHost
{
    BenchHost()
    {
        orvane::StudioApplication::instance().reset();
        winapi_seam::reset();
        peers = std::make_unique<HostPeers>();
        peers->registerAll(orvane::StudioApplication::instance());
    }
    ~BenchHost()
    {
        peers->uisManager->pages().clear();
        orvane::StudioApplication::instance().reset();
        winapi_seam::reset();
    }
    BenchHost(const BenchHost &) = delete;
    BenchHost &operator=(const BenchHost &) = delete;

    std::unique_ptr<HostPeers> peers;
};

// Values a user has stored: a non-default rate, a timecode and the
// connecting mode enabled, so a load and an apply have work to do.
inline void storeSomeValues(HostPeers &peers)
{
    peers.appStore->setValue("current_workmode", "UNI");
    peers.hwupStore->setValue("settings.hwup.capturefps", "120");
    peers.hwupStore->setValue("settings.hwup.local_timecode_rate", "30");
    peers.hwupStore->setValue("settings.hwup.enableconnectionmode", "true");
    peers.hwupStore->setValue("settings.hwup.connectionmode", "magnetic immunity");
}
