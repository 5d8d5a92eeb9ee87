#include "Apartment.h"

#include <winapi/ComBase.h>

namespace {

struct ThreadApartment
{
    long depth = 0;
    DWORD model = COINIT_MULTITHREADED;
};

// Initial-exec: a few bytes of static TLS, reached without __tls_get_addr
// (a lazy symbol look-up on a process's first COM call).
__attribute__((tls_model("initial-exec"))) thread_local ThreadApartment currentApartment;

} // namespace

HRESULT Apartment::enter(DWORD model)
{
    if (currentApartment.depth == 0) {
        currentApartment.model = model;
        currentApartment.depth = 1;
        return S_OK;
    }
    if (currentApartment.model != model)
        return RPC_E_CHANGED_MODE;
    ++currentApartment.depth;
    return S_FALSE;
}

void Apartment::leave()
{
    if (currentApartment.depth > 0)
        --currentApartment.depth;
}

long Apartment::depth() { return currentApartment.depth; }
