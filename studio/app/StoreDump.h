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
// {"base64": "<the bytes>"}. A key that is not UTF-8 cannot be an object
// of its own, so it becomes the compact JSON text of that object, e.g. the
// key string {"base64":"/w=="} for the single byte 0xFF. Text that starts
// with a byte-order mark goes as base64 as well: JSON writers drop the mark. (A UTF-8 key that
// is literally such a text would read the same; no real key looks so.)
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

    // {"<module>": {<entries>}, ...}, indented, ending in a newline.
    static QByteArray dump(const std::vector<NamedStore> &stores);
};
