// The address scan's scaling over scripted adapters and one WQL query
// through the COM stand-in (the scan against Qt's list is in PairedBench).
#include "BenchHost.h"
#include "wmi/MachineInfo.h"

#include <benchmark/benchmark.h>
#include <winapi/ComBase.h>
#include <winapi/OleAuto.h>
#include <winapi/WbemCli.h>

#include <string>

namespace {

const wchar_t kAdapterQuery[] =
        L"SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2) AND (MACAddress IS "
        L"NOT NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))";

void scriptAdapters(int count)
{
    using winapi_seam::Row;
    using winapi_seam::Value;
    std::vector<Row> adapters, configurations;
    for (int i = 0; i < count; ++i) {
        const std::wstring address = L"10." + std::to_wstring(i / 65536) + L"." +
                std::to_wstring(i / 256 % 256) + L"." + std::to_wstring(i % 256);
        adapters.push_back({{L"MACAddress", Value::text(L"02:00:00:00:" + std::to_wstring(i))},
                            {L"Index", Value::int32(i)},
                            {L"NetConnectionStatus", Value::int32(2)},
                            {L"PNPDeviceID", Value::text(L"PCI\\VEN_" + std::to_wstring(i))}});
        configurations.push_back(
                {{L"Index", Value::int32(i)}, {L"IPAddress", Value::textArray({address})}});
    }
    winapi_seam::scriptRows(L"Win32_NetworkAdapter", adapters);
    winapi_seam::scriptRows(L"Win32_NetworkAdapterConfiguration", configurations);
}

void scriptedScan(benchmark::State &state)
{
    BenchHost host;
    scriptAdapters(int(state.range(0)));
    for (auto _ : state) {
        const QMap<QString, QString> found = MachineInfo().localIpAddresses();
        if (found.size() != state.range(0)) {
            state.SkipWithError("the scan did not list every scripted adapter");
            break;
        }
    }
}
BENCHMARK(scriptedScan)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The adapter query parsed, evaluated against this machine's adapters and
// drained row by row, on a connection made once.
void wqlQuery(benchmark::State &state)
{
    BenchHost host;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWbemLocator *locator = nullptr;
    IWbemServices *services = nullptr;
    CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                     reinterpret_cast<void **>(&locator));
    BSTR path = SysAllocString(L"\\\\.\\root\\cimv2");
    if (!locator ||
        FAILED(locator->ConnectServer(path, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      &services))) {
        state.SkipWithError("no WMI connection");
    }
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(kAdapterQuery);
    for (auto _ : state) {
        if (!services)
            break;
        IEnumWbemClassObject *rows = nullptr;
        if (FAILED(services->ExecQuery(language, query,
                                       WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                       nullptr, &rows))) {
            state.SkipWithError("ExecQuery failed");
            break;
        }
        IWbemClassObject *row = nullptr;
        ULONG returned = 0;
        while (SUCCEEDED(rows->Next(LONG(WBEM_INFINITE), 1, &row, &returned)) && returned == 1)
            row->Release();
        rows->Release();
    }
    SysFreeString(query);
    SysFreeString(language);
    SysFreeString(path);
    if (services)
        services->Release();
    if (locator)
        locator->Release();
    CoUninitialize();
}
BENCHMARK(wqlQuery)->Unit(benchmark::kMicrosecond);

} // namespace
