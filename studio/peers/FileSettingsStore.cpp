#include "FileSettingsStore.h"

#include "StoreFile.h"
#include "StoreLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

using Read = StoreFile::Read;

const QByteArray kHeader = QByteArrayLiteral("# studio settings v1");

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

bool isUnreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Strict inverse of QByteArray::toPercentEncoding: anything else is damage.
bool decode(const QByteArray &text, std::string *out)
{
    out->clear();
    out->reserve(size_t(text.size()));
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (isUnreserved(c)) {
            out->push_back(c);
            continue;
        }
        if (c != '%' || i + 2 >= text.size())
            return false;
        const int hi = hexValue(text.at(i + 1));
        const int lo = hexValue(text.at(i + 2));
        if (hi < 0 || lo < 0)
            return false;
        const int byte = hi * 16 + lo;
        out->push_back(char(byte));
        i += 2;
    }
    return true;
}

QByteArray encode(const std::string &bytes)
{
    return QByteArray::fromRawData(bytes.data(), int(bytes.size())).toPercentEncoding();
}

bool parse(const QByteArray &text, std::map<std::string, std::string> *entries, QString *why)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.first() != kHeader) {
        *why = FileSettingsStore::tr("line 1: not a studio settings file");
        return false;
    }
    for (int n = 1; n < lines.size(); ++n) {
        const QByteArray &line = lines.at(n);
        const int eq = line.indexOf('=');
        std::string key, value;
        if (line.isEmpty())
            continue;
        if (eq < 0 || !decode(line.left(eq), &key) || !decode(line.mid(eq + 1), &value)) {
            *why = FileSettingsStore::tr("line %1: not an encoded key=value entry").arg(n + 1);
            return false;
        }
        (*entries)[key] = value;
    }
    return true;
}

QString kindText(StoreFile::Kind kind)
{
    switch (kind) {
    case StoreFile::Kind::SymbolicLink:
        return FileSettingsStore::tr("a symbolic link, not a regular file");
    case StoreFile::Kind::Folder:
        return FileSettingsStore::tr("a folder, not a regular file");
    case StoreFile::Kind::Fifo:
        return FileSettingsStore::tr("a FIFO, not a regular file");
    case StoreFile::Kind::Socket:
        return FileSettingsStore::tr("a socket, not a regular file");
    case StoreFile::Kind::Device:
        return FileSettingsStore::tr("a device, not a regular file");
    case StoreFile::Kind::Regular:
    case StoreFile::Kind::Other:
        break;
    }
    return FileSettingsStore::tr("not a regular file");
}

// Reads a regular file, never following a link or waiting on a FIFO or
// device; `why` says what stands there instead, or the system's reason.
Read readRegular(const QString &path, QByteArray *bytes, QString *why)
{
    StoreFile file(path);
    const Read read = file.read(bytes);
    *why = file.kind() == StoreFile::Kind::Regular ? file.errorString() : kindText(file.kind());
    return read;
}

// Replaces `path` whole or not at all.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *why)
{
    StoreFile file(path);
    if (file.replace(bytes))
        return true;
    *why = file.errorString();
    return false;
}

} // namespace

FileSettingsStore::FileSettingsStore(const QString &filePath, std::chrono::milliseconds lockWait)
    : m_path(filePath)
    , m_lockWait(lockWait)
{
    load();
}

const char *FileSettingsStore::header() { return kHeader.constData(); }

QString FileSettingsStore::filePath() const { return m_path; }

QString FileSettingsStore::loadError() const { return m_loadError; }

QString FileSettingsStore::writeError() const { return m_writeError; }

const FileSettingsStore::Entries *FileSettingsStore::storedEntries() const
{
    return m_storedKnown ? &m_stored : nullptr;
}

void FileSettingsStore::load()
{
    QByteArray content;
    QString why;
    const Read read = readRegular(m_path, &content, &why);
    if (read == Read::Absent)
        return;
    if (read == Read::Refused) {
        m_refusal = why;
        m_storedKnown = false;
        m_loadError = tr("%1: %2; it is left as it is, and changes are kept only while the "
                         "studio runs")
                              .arg(native(m_path), why);
        return;
    }
    if (parse(content, &m_stored, &why)) {
        m_values = m_stored;
        return;
    }
    m_stored.clear();
    m_storedKnown = false;
    QString copy, copyError;
    if (keepCopy(content, &copy, &copyError)) {
        m_loadError = tr("%1: %2; starting empty, the file was kept as %3")
                              .arg(native(m_path), why, native(copy));
    } else {
        m_refusal = tr("%1, and no copy of it could be made (%2)").arg(why, copyError);
        m_loadError = tr("%1: %2; changes are kept only while the studio runs")
                              .arg(native(m_path), m_refusal);
    }
}

bool FileSettingsStore::keepCopy(const QByteArray &content, QString *copy, QString *why) const
{
    *copy = m_path + QStringLiteral(".unreadable-") +
            QString::fromLatin1(
                    QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex().left(16));
    QByteArray kept;
    const Read read = readRegular(*copy, &kept, why);
    if (read == Read::Done && kept == content)
        return true;
    why->clear();
    return read != Read::Refused && writeWhole(*copy, content, why);
}

bool FileSettingsStore::save()
{
    if (!m_refusal.isEmpty()) {
        m_writeError = tr("%1: not saved: %2").arg(native(m_path), m_refusal);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QString lockPath = m_path + QStringLiteral(".lock");
    StoreLock lock(lockPath);
    QString why;
    const StoreLock::Result locked = lock.tryLock(m_lockWait, &why);
    if (locked != StoreLock::Result::Locked) {
        m_writeError =
                tr("%1: not saved: the lock file %2 %3")
                        .arg(native(m_path), native(lockPath),
                             locked == StoreLock::Result::Held ? tr("stays held by another process")
                                                               : tr("cannot be made: %1").arg(why));
        return false;
    }
    // Merge: what the file holds now, with this store's changes on top.
    Entries merged;
    QByteArray content;
    QString copy;
    switch (readRegular(m_path, &content, &why)) {
    case Read::Absent:
        break;
    case Read::Refused:
        m_writeError = tr("%1: not saved: %2").arg(native(m_path), why);
        return false;
    case Read::Done:
        if (parse(content, &merged, &why))
            break;
        // Damaged since it was read: keep it, and build on what was known.
        if (!keepCopy(content, &copy, &why)) {
            m_writeError = tr("%1: not saved: it became unreadable and no copy could be made (%2)")
                                   .arg(native(m_path), why);
            return false;
        }
        merged = m_stored;
        break;
    }
    for (const auto &change : m_changes) {
        if (change.second)
            merged[change.first] = *change.second;
        else
            merged.erase(change.first);
    }
    QByteArray text = kHeader + '\n';
    for (const auto &entry : merged)
        text += encode(entry.first) + '=' + encode(entry.second) + '\n';
    why.clear();
    if (!writeWhole(m_path, text, &why)) {
        m_writeError = tr("%1: not saved: %2").arg(native(m_path), why);
        return false;
    }
    m_values = m_stored = merged;
    m_storedKnown = true;
    m_changes.clear();
    m_writeError.clear();
    return true;
}

bool FileSettingsStore::setValue(const std::string &key, const std::string &value)
{
    MemorySettingsStore::setValue(key, value);
    m_changes[key] = value;
    return save();
}

bool FileSettingsStore::remove(const std::string &key)
{
    if (!MemorySettingsStore::remove(key))
        return false;
    m_changes[key] = std::nullopt;
    return save();
}
