// One WQL query through the COM stand-in (the scan against Qt's list and its
// scaling over scripted adapters are in PairedBench).
#include "BenchHost.h"

#include <benchmark/benchmark.h>
#include <winapi/ComBase.h>
#include <winapi/OleAuto.h>
#include <winapi/WbemCli.h>

#include <string>

namespace {

const wchar_t kAdapterQuery[] =
        L"SELECT * FROM Win32_NetworkAdapter WHERE (NetConnectionStatus = 2) AND (MACAddress IS "
        L"NOT NULL) AND (NOT (PNPDeviceID LIKE 'ROOT%'))";

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
