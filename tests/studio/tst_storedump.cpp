#include "StoreDump.h"

#include <QJsonDocument>
#include <QtTest>

Q_DECLARE_METATYPE(std::string)

namespace {

// Reads a dumped key or value back into bytes, as a user of --dump would.
std::string bytesOfValue(const QJsonValue &value)
{
    if (value.isString()) {
        const QByteArray utf8 = value.toString().toUtf8();
        return std::string(utf8.constData(), size_t(utf8.size()));
    }
    const QByteArray raw =
            QByteArray::fromBase64(value.toObject().value("base64").toString().toLatin1());
    return std::string(raw.constData(), size_t(raw.size()));
}

std::string bytesOfKey(const QString &key)
{
    const QJsonDocument asJson = QJsonDocument::fromJson(key.toUtf8());
    if (asJson.isObject() && asJson.object().contains("base64"))
        return bytesOfValue(asJson.object());
    return bytesOfValue(key);
}

} // namespace

class tst_StoreDump : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
};

void tst_StoreDump::roundTrip_data()
{
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("asText"); // a JSON string rather than base64

    QTest::newRow("empty") << std::string() << true << true;
    QTest::newRow("ASCII") << std::string("settings.hwup.ip") << true << true;
    QTest::newRow("two-byte and four-byte")
            << std::string("\xc3\xa9\xf0\x9f\x98\x80") << true << true;
    QTest::newRow("control characters and quotes") << std::string("a\n\"b\"\t\\") << true << true;
    QTest::newRow("inner byte-order mark") << std::string("x\xef\xbb\xbf") << true << true;
    QTest::newRow("NUL inside") << std::string("a\0b", 3) << true << true;
    QTest::newRow("leading byte-order mark") << std::string("\xef\xbb\xbfx") << true << false;
    QTest::newRow("lone 0xFF") << std::string("\xff") << false << false;
    QTest::newRow("Latin-1 e-acute") << std::string("caf\xe9") << false << false;
    QTest::newRow("overlong slash") << std::string("\xc0\xaf") << false << false;
    QTest::newRow("encoded surrogate") << std::string("\xed\xa0\x80") << false << false;
    QTest::newRow("past U+10FFFF") << std::string("\xf4\x90\x80\x80") << false << false;
    QTest::newRow("truncated sequence") << std::string("ab\xe2\x82") << false << false;
    QTest::newRow("stray continuation") << std::string("\x80") << false << false;
}

// Guards against bytes that are not UTF-8 being mangled in the dump (the
// JSON must give back exactly the stored bytes, for keys and values).
void tst_StoreDump::roundTrip()
{
    QFETCH(std::string, bytes);
    QFETCH(bool, utf8);
    QFETCH(bool, asText);
    QCOMPARE(StoreDump::isUtf8(bytes), utf8);

    const QJsonValue value = StoreDump::jsonValue(bytes);
    QCOMPARE(value.isString(), asText);
    QCOMPARE(bytesOfValue(value), bytes);
    if (!bytes.empty())
        QCOMPARE(bytesOfKey(StoreDump::jsonKey(bytes)), bytes);

    // Through the printed text as well, the key being the same bytes.
    const std::string key = bytes.empty() ? std::string("k") : bytes;
    const StoreDump::Entries entries{{key, bytes}};
    const QJsonObject store = QJsonDocument::fromJson(StoreDump::dump({{"dev_hwup", &entries}}))
                                      .object()
                                      .value("dev_hwup")
                                      .toObject();
    QCOMPARE(store.size(), 1);
    QCOMPARE(bytesOfKey(store.begin().key()), key);
    QCOMPARE(bytesOfValue(store.begin().value()), bytes);
}

QTEST_GUILESS_MAIN(tst_StoreDump)
#include "tst_storedump.moc"
