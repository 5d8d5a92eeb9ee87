#pragma once

#include <winapi/WinapiSeam.h>

#include <QString>
#include <QtTest>

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

// Every COM object, BSTR and SAFEARRAY handed out is gone and every
// apartment entered is left again.
inline void verifyNothingLive() { QVERIFY2(nothingLive(), qPrintable(liveText())); }
