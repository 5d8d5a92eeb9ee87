#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Settings stores as JSON. Keys and values are bytes; JSON holds text, so
// bytes that are valid UTF-8 become JSON strings and anything else becomes
// {"base64": "<the bytes>"}. Text starting with a byte-order mark goes as
// base64 too: JSON writers drop the mark. A key is written as itself only
// when it is such text and does not begin with '{'; any other key becomes
// the compact JSON text of its base64 object, e.g. {"base64":"/w=="} for
// the byte 0xFF. So keys written as themselves never begin with '{' and
// encoded ones always do: no two stored keys give the same JSON key.
class StoreDump
{
public:
    using Entries = std::map<std::string, std::string>;
    using NamedStore = std::pair<std::string, const Entries *>;

    // True when `bytes` is well-formed UTF-8 (no overlong forms, no
    // surrogates, nothing past U+10FFFF) and so survives a round trip.
    static bool isUtf8(const std::string &bytes);

    static QJsonValue jsonValue(const std::string &bytes);
    static QString jsonKey(const std::string &bytes);
    static QJsonObject storeObject(const Entries &entries);

    // {"<module>": {<entries>}, ...}, indented, ending in a newline; a store
    // given as null (its file could not be read) is null.
    static QByteArray dump(const std::vector<NamedStore> &stores);
};
