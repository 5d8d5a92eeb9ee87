#include "StoreDump.h"

#include <QJsonDocument>
#include <QTextCodec>

#include <algorithm>

namespace {

// Decodes `bytes` when they are well-formed UTF-8. Qt's decoder replaces
// what it cannot read and, by default, drops a leading byte-order mark
// (QString::fromUtf8 does): count the replacements, keep the mark, and
// insist that encoding the text again gives back the very same bytes.
bool decodeUtf8(const std::string &bytes, QString *text)
{
    QTextCodec *codec = QTextCodec::codecForMib(106); // UTF-8
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    *text = codec->toUnicode(bytes.data(), int(bytes.size()), &state);
    if (state.invalidChars != 0 || state.remainingChars != 0)
        return false;
    const QByteArray again = text->toUtf8();
    return again.size() == int(bytes.size()) &&
            std::equal(bytes.begin(), bytes.end(), again.begin());
}

QJsonObject base64Object(const std::string &bytes)
{
    const QByteArray raw = QByteArray::fromRawData(bytes.data(), int(bytes.size()));
    return QJsonObject{{QStringLiteral("base64"), QString::fromLatin1(raw.toBase64())}};
}

// Text that JSON carries unchanged. Qt's JSON writer drops a leading
// byte-order mark, so such text goes as base64 too.
bool asJsonText(const std::string &bytes, QString *text)
{
    return decodeUtf8(bytes, text) && !text->startsWith(QChar(QChar::ByteOrderMark));
}

} // namespace

bool StoreDump::isUtf8(const std::string &bytes)
{
    QString text;
    return decodeUtf8(bytes, &text);
}

QJsonValue StoreDump::jsonValue(const std::string &bytes)
{
    QString text;
    if (asJsonText(bytes, &text))
        return text;
    return base64Object(bytes);
}

QString StoreDump::jsonKey(const std::string &bytes)
{
    QString text;
    if (asJsonText(bytes, &text) && !text.startsWith(QLatin1Char('{')))
        return text;
    return QString::fromUtf8(QJsonDocument(base64Object(bytes)).toJson(QJsonDocument::Compact));
}

QJsonObject StoreDump::storeObject(const Entries &entries)
{
    QJsonObject object;
    for (const auto &entry : entries)
        object.insert(jsonKey(entry.first), jsonValue(entry.second));
    return object;
}

QByteArray StoreDump::dump(const std::vector<NamedStore> &stores)
{
    QJsonObject all;
    for (const NamedStore &store : stores)
        all.insert(QString::fromStdString(store.first),
                   store.second ? QJsonValue(storeObject(*store.second)) : QJsonValue());
    return QJsonDocument(all).toJson(QJsonDocument::Indented);
}
