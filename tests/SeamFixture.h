#pragma once

#include <winapi/WinapiSeam.h>

#include <QStringList>
#include <QtTest>

// Shared by the tests that drive the COM/WMI stand-in: the stand-in reset
// around a test, its live counts checked after it, adapters scripted for it.

// A step of the stand-in's, as a column of data-driven tests that make it fail.
Q_DECLARE_METATYPE(winapi_seam::Step)

// The COM/WMI stand-in's live counts, checked after every test that touches
// WMI: a COM object, BSTR or SAFEARRAY still alive, or an apartment not left,
// is a leak of the code under test.

// True when nothing is alive and the calling thread is `apartments` deep.
inline bool nothingLive(long apartments = 0)
{
    const winapi_seam::Counters c = winapi_seam::counters();
    return c.interfaces == 0 && c.bstrs == 0 && c.safeArrays == 0 && c.apartmentDepth == apartments;
}

// The counts as text, for a failure message.
inline QString liveText()
{
    const winapi_seam::Counters c = winapi_seam::counters();
    return QString::asprintf("interfaces %ld, BSTRs %ld, SAFEARRAYs %ld, apartments %ld",
                             c.interfaces, c.bstrs, c.safeArrays, c.apartmentDepth);
}

// The COM/WMI stand-in as a test begins and leaves it: whatever an earlier
// test scripted or made fail is dropped on construction, and what this one
// scripts is dropped again on destruction, so it reaches no later test.
struct SeamGuard
{
    SeamGuard() { winapi_seam::reset(); }
    ~SeamGuard() { winapi_seam::reset(); }
};

// The end of a test that used the stand-in (its cleanup()): the scripts and
// faults dropped, every COM object, BSTR and SAFEARRAY handed out gone and
// every apartment entered left again.
inline void endSeamTest()
{
    winapi_seam::reset();
    QVERIFY2(nothingLive(), qPrintable(liveText()));
}

// Connected physical adapters, one address each, in enumeration order.
inline void scriptAdapters(const QStringList &addresses)
{
    using winapi_seam::Value;
    std::vector<winapi_seam::Row> adapters, configurations;
    for (int i = 1; i <= addresses.size(); ++i) {
        const std::wstring n = std::to_wstring(i);
        adapters.push_back({{L"Index", Value::int32(i)},
                            {L"MACAddress", Value::text(L"00:1A:2B:3C:4D:0" + n)},
                            {L"NetConnectionStatus", Value::int32(2)},
                            {L"PNPDeviceID", Value::text(L"PCI\\VEN_8086&DEV_100E\\3&" + n)}});
        const Value address = Value::textArray({addresses[i - 1].toStdWString()});
        configurations.push_back({{L"Index", Value::int32(i)}, {L"IPAddress", address}});
    }
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
}
