#include "FuzzHarness.h"
#include "tests/SeamFixture.h"
#include "wmi/WMIConnection.h"

// Any bytes as a WQL text (each byte one character, NULs included) through
// the plug-in's WMI client: the stand-in's query engine answers rows or an
// error, never crashes or hangs (the fuzzer's time-out), and every object,
// BSTR and SAFEARRAY it hands out is gone once the client closes.
int fuzzWql(const uint8_t *data, size_t size)
{
    // The seam logs every query text; a long run must not keep them all.
    const SeamGuard seam;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), int(size));
    WMIConnection connection;
    FUZZ_CHECK(connection.connect(), "no connection to the local namespace");
    for (const WMIObject &row : connection.query(text)) {
        for (const QString &name : row.propertyNames(0)) {
            VARIANT value;
            VariantInit(&value);
            row.get(name, &value);
            VariantClear(&value);
        }
    }
    connection.close();
    FUZZ_CHECK(nothingLive(), "the query left " + liveText().toStdString());
    return 0;
}
