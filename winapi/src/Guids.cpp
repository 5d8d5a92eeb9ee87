#include <winapi/WbemCli.h>

namespace {

// A GUID as Windows writes it, {11111111-2222-3333-4444-555555555555}, a
// line each.
constexpr GUID guid(uint32_t a, uint16_t b, uint16_t c, uint16_t d, uint64_t e)
{
    return GUID{a,
                b,
                c,
                {uint8_t(d >> 8), uint8_t(d), uint8_t(e >> 40), uint8_t(e >> 32), uint8_t(e >> 24),
                 uint8_t(e >> 16), uint8_t(e >> 8), uint8_t(e)}};
}

} // namespace

const IID IID_IUnknown = guid(0x00000000, 0x0000, 0x0000, 0xC000, 0x000000000046);
const CLSID CLSID_WbemLocator = guid(0x4590F811, 0x1D3A, 0x11D0, 0x891F, 0x00AA004B2E24);
const IID IID_IWbemLocator = guid(0xDC12A687, 0x737F, 0x11CF, 0x884D, 0x00AA004B2E24);
const IID IID_IWbemServices = guid(0x9556DC99, 0x828C, 0x11CF, 0xA37E, 0x00AA003240C7);
const IID IID_IEnumWbemClassObject = guid(0x027947E1, 0xD731, 0x11CE, 0xA357, 0x000000000001);
const IID IID_IWbemClassObject = guid(0xDC12A681, 0x737F, 0x11CF, 0x884D, 0x00AA004B2E24);
