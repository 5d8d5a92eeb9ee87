// BSTR and SAFEARRAY: lengths, copies, bounds and ownership, as a WMI
// client relies on them.
#include "WinapiTestSupport.h"

#include <cstring>

class tst_OleAuto : public QObject
{
    Q_OBJECT

private slots:
    void init() { winapi_seam::reset(); }
    void cleanup()
    {
        winapi_seam::reset();
        verifyNothingLive();
    }

    void bstrLength_data();
    void bstrLength();
    void bstrWrapper();
    void arrayBounds_data();
    void arrayBounds();
    void arrayElementsAreCopies();
};

void tst_OleAuto::bstrLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");

    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ascii") << "root\\cimv2" << 10;
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"ab\0cd", 5) << 5;
    QTest::newRow("beyond the BMP") << QString::fromUtf8("\xF0\x9F\x98\x80") << 1;
}

// Guards against a BSTR whose length prefix or terminator is wrong, which
// would make SysStringLen and wcslen disagree or read past the end.
void tst_OleAuto::bstrLength()
{
    QFETCH(QString, text);
    QFETCH(int, length);

    const std::wstring wideText = wide(text);
    QCOMPARE(int(wideText.size()), length);
    const BSTR counted = SysAllocStringLen(wideText.data(), UINT(wideText.size()));
    QVERIFY(counted);
    QCOMPARE(int(SysStringLen(counted)), length);
    QCOMPARE(int(SysStringByteLen(counted)), length * int(sizeof(OLECHAR)));
    QCOMPARE(counted[length], L'\0');
    QVERIFY(std::memcmp(counted, wideText.data(), wideText.size() * sizeof(OLECHAR)) == 0);
    QVERIFY(counted != wideText.data());

    // SysAllocString stops at the first NUL.
    const BSTR terminated = SysAllocString(wideText.c_str());
    QCOMPARE(SysStringLen(terminated), UINT(std::wcslen(wideText.c_str())));
    QCOMPARE(winapi_seam::counters().bstrs, 2L);
    SysFreeString(counted);
    SysFreeString(terminated);
    QCOMPARE(SysStringLen(nullptr), 0u);
    QVERIFY(!SysAllocString(nullptr));
    SysFreeString(nullptr);
}

// Guards against _bstr_t copies that free the shared BSTR twice or never.
void tst_OleAuto::bstrWrapper()
{
    {
        const _bstr_t first(L"Index");
        _bstr_t second = first;
        QCOMPARE(winapi_seam::counters().bstrs, 1L);
        QVERIFY(static_cast<const wchar_t *>(first) == static_cast<const wchar_t *>(second));
        second = _bstr_t(L"Name");
        QCOMPARE(winapi_seam::counters().bstrs, 2L);
        QCOMPARE(second.length(), 4u);
        QVERIFY(first != second);
        const _bstr_t narrow("caf\xC3\xA9");
        QCOMPARE(QString::fromWCharArray(narrow), QStringLiteral("caf\u00E9"));
        const _bstr_t empty;
        QVERIFY(!empty);
        QCOMPARE(empty.length(), 0u);
    }
    QCOMPARE(winapi_seam::counters().bstrs, 0L);
}

void tst_OleAuto::arrayBounds_data()
{
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("count");

    QTest::newRow("zero based") << 0 << 3;
    QTest::newRow("one based") << 1 << 2;
    QTest::newRow("negative") << -5 << 4;
    QTest::newRow("empty") << 0 << 0;
}

// Guards against wrong bounds (the client reads lower..upper inclusive)
// and element access outside them.
void tst_OleAuto::arrayBounds()
{
    QFETCH(int, lower);
    QFETCH(int, count);

    ScopedArray array;
    array.array = SafeArrayCreateVector(VT_BSTR, lower, ULONG(count));
    QVERIFY(array.array);
    LONG low = 99, high = 99;
    QCOMPARE(SafeArrayGetLBound(array.array, 1, &low), S_OK);
    QCOMPARE(SafeArrayGetUBound(array.array, 1, &high), S_OK);
    QCOMPARE(int(low), lower);
    QCOMPARE(int(high), lower + count - 1);
    QCOMPARE(SafeArrayGetLBound(array.array, 2, &low), DISP_E_BADINDEX);
    QCOMPARE(SafeArrayGetDim(array.array), 1u);

    for (LONG i = low; i <= high; ++i) {
        const _bstr_t text(QString::number(i).toStdWString().c_str());
        QCOMPARE(SafeArrayPutElement(array.array, &i, text.GetBSTR()), S_OK);
    }
    for (LONG i = low - 1; i <= high + 1; ++i) {
        BSTR element = nullptr;
        const HRESULT hr = SafeArrayGetElement(array.array, &i, &element);
        if (i < low || i > high) {
            QCOMPARE(hr, DISP_E_BADINDEX);
            QVERIFY(!element);
        } else {
            QCOMPARE(hr, S_OK);
            QCOMPARE(QString::fromWCharArray(element), QString::number(i));
            SysFreeString(element);
        }
    }
}

// Guards against SafeArrayGetElement handing out the array's own BSTR: the
// client frees each element it reads and then destroys the array.
void tst_OleAuto::arrayElementsAreCopies()
{
    SAFEARRAY *array = SafeArrayCreateVector(VT_BSTR, 0, 1);
    LONG index = 0;
    const _bstr_t text(L"IPAddress");
    QCOMPARE(SafeArrayPutElement(array, &index, text.GetBSTR()), S_OK);
    BSTR first = nullptr;
    BSTR second = nullptr;
    QCOMPARE(SafeArrayGetElement(array, &index, &first), S_OK);
    QCOMPARE(SafeArrayGetElement(array, &index, &second), S_OK);
    QVERIFY(first != second);
    SysFreeString(first);
    SysFreeString(second);
    QCOMPARE(winapi_seam::counters().bstrs, 2L); // text and the array's element
    QCOMPARE(SafeArrayDestroy(array), S_OK);
    QCOMPARE(winapi_seam::counters().bstrs, 1L);
    QCOMPARE(winapi_seam::counters().safeArrays, 0L);
    QCOMPARE(SafeArrayDestroy(nullptr), S_OK);
}

QTEST_GUILESS_MAIN(tst_OleAuto)
#include "tst_oleauto.moc"
