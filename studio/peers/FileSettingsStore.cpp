#include "FileSettingsStore.h"

#include "LockBudget.h"
#include "StoreFile.h"
#include "StoreLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

QString tooLarge()
{
    return FileSettingsStore::tr("larger than %1 MiB, more than a settings file holds")
            .arg(StoreFile::kMaxSize >> 20);
}

// Reads a regular file whole, never following a link or waiting on a FIFO
// or device; `why` says what stands there instead, or the system's reason.
// A file too large to be a store is Refused.
Read readRegular(const QString &path, QByteArray *bytes, QString *why)
{
    StoreFile file(path);
    const Read read = file.read(bytes);
    *why = file.kind() == StoreFile::Kind::Regular ? file.errorString() : kindText(file.kind());
    if (read != Read::TooLarge)
        return read;
    *why = tooLarge();
    return Read::Refused;
}

// Replaces `path` whole or not at all; see StoreFile::replace for `like`.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *why,
                const QString &like = QString())
{
    StoreFile file(path);
    if (file.replace(bytes, like))
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

void FileSettingsStore::setLockBudget(std::shared_ptr<LockBudget> budget)
{
    m_lockBudget = std::move(budget);
}

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
    return read != Read::Refused && writeWhole(*copy, content, why, m_path);
}

bool FileSettingsStore::save()
{
    if (!m_refusal.isEmpty()) {
        m_writeError = tr("%1: not saved: %2").arg(native(m_path), m_refusal);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    StoreLock lock(m_path + QStringLiteral(".lock"));
    if (!takeLock(lock))
        return false;
    StoreFile(m_path).removeLeftovers();
    Entries merged;
    bool unchanged = false;
    if (!merge(&merged, &unchanged) || (!unchanged && !write(merged)))
        return false;
    m_values = m_stored = merged;
    m_storedKnown = true;
    m_changes.clear();
    m_writeError.clear();
    return true;
}

bool FileSettingsStore::takeLock(StoreLock &lock)
{
    const QString lockPath = m_path + QStringLiteral(".lock");
    const std::chrono::milliseconds wait =
            m_lockBudget ? m_lockBudget->left(m_lockWait) : m_lockWait;
    // Whatever else took the lock file's name is named, never opened.
    StoreFile lockFile(lockPath);
    StoreLock::Result locked = StoreLock::Result::NotRegular;
    QString why;
    if (!lockFile.lookUp() || lockFile.kind() == StoreFile::Kind::Regular) {
        const auto start = std::chrono::steady_clock::now();
        locked = lock.tryLock(wait, &why);
        if (m_lockBudget)
            m_lockBudget->spend(std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start));
    }
    switch (locked) {
    case StoreLock::Result::Locked:
        return true;
    case StoreLock::Result::Held:
        why = tr("stays held by another process (gave up after %1 ms)").arg(wait.count());
        break;
    case StoreLock::Result::Failed:
        why = tr("cannot be used: %1").arg(why);
        break;
    case StoreLock::Result::NotRegular:
        why = tr("is %1").arg(kindText(lockFile.kind()));
        break;
    }
    m_writeError =
            tr("%1: not saved: the lock file %2 %3").arg(native(m_path), native(lockPath), why);
    return false;
}

// What the file holds now, with this store's changes on top; `unchanged`
// when the file already holds exactly that.
bool FileSettingsStore::merge(Entries *merged, bool *unchanged)
{
    QByteArray content;
    QString why, copy;
    switch (readRegular(m_path, &content, &why)) {
    case Read::Absent:
        break;
    case Read::Refused:
    case Read::TooLarge: // reported as Refused
        m_writeError = tr("%1: not saved: %2").arg(native(m_path), why);
        return false;
    case Read::Done:
        if (parse(content, merged, &why)) {
            *unchanged = true;
            break;
        }
        // Damaged since it was read: keep it, and build on what was known.
        if (!keepCopy(content, &copy, &why)) {
            m_writeError = tr("%1: not saved: it became unreadable and no copy could be made (%2)")
                                   .arg(native(m_path), why);
            return false;
        }
        *merged = m_stored;
        break;
    }
    for (const auto &change : m_changes) {
        const auto entry = merged->find(change.first);
        const bool same = change.second ? entry != merged->end() && entry->second == *change.second
                                        : entry == merged->end();
        *unchanged = *unchanged && same;
        if (change.second)
            (*merged)[change.first] = *change.second;
        else if (entry != merged->end())
            merged->erase(entry);
    }
    return true;
}

bool FileSettingsStore::write(const Entries &entries)
{
    QByteArray text = kHeader + '\n';
    for (const auto &entry : entries)
        text += encode(entry.first) + '=' + encode(entry.second) + '\n';
    QString why;
    if (text.size() > StoreFile::kMaxSize)
        why = tr("it would be %1").arg(tooLarge());
    else if (writeWhole(m_path, text, &why))
        return true;
    m_writeError = tr("%1: not saved: %2").arg(native(m_path), why);
    return false;
}

bool FileSettingsStore::setValue(const std::string &key, const std::string &value)
{
    MemorySettingsStore::setValue(key, value);
    m_changes[key] = value;
    return save();
}

// The key may be in the file though not in memory (another studio wrote
// it since), so the removal is saved either way.
bool FileSettingsStore::remove(const std::string &key)
{
    MemorySettingsStore::remove(key);
    m_changes[key] = std::nullopt;
    return save();
}
