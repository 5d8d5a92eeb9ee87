#include "FileSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray kHeader = QByteArrayLiteral("# studio settings v1");

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

} // namespace

FileSettingsStore::FileSettingsStore(const QString &filePath)
    : m_path(filePath)
{
    load();
}

const char *FileSettingsStore::header() { return kHeader.constData(); }

QString FileSettingsStore::filePath() const { return m_path; }

QString FileSettingsStore::loadError() const { return m_loadError; }

QString FileSettingsStore::writeError() const { return m_writeError; }

void FileSettingsStore::load()
{
    QFile file(m_path);
    if (!file.exists())
        return;

    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        const QList<QByteArray> lines = file.readAll().split('\n');
        if (file.error() != QFile::NoError)
            why = file.errorString();
        else if (lines.isEmpty() || lines.first() != kHeader)
            why = QStringLiteral("line 1: not a studio settings file");
        for (int n = 1; why.isEmpty() && n < lines.size(); ++n) {
            const QByteArray &line = lines.at(n);
            if (line.isEmpty())
                continue;
            const int eq = line.indexOf('=');
            std::string key, value;
            if (eq < 0 || !decode(line.left(eq), &key) || !decode(line.mid(eq + 1), &value))
                why = QStringLiteral("line %1: not an encoded key=value entry").arg(n + 1);
            else
                m_values[key] = value;
        }
    }
    if (why.isEmpty())
        return;

    m_values.clear();
    const QString copy = m_path + QStringLiteral(".unreadable-") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddThhmmsszzz"));
    if (QFile::copy(m_path, copy)) {
        m_loadError =
                QStringLiteral("%1: %2; starting empty, the file was kept as %3")
                        .arg(QDir::toNativeSeparators(m_path), why, QDir::toNativeSeparators(copy));
    } else {
        m_writable = false;
        m_loadError = QStringLiteral("%1: %2; no copy could be made, so changes will not be saved")
                              .arg(QDir::toNativeSeparators(m_path), why);
    }
}

bool FileSettingsStore::save()
{
    if (!m_writable) {
        m_writeError = QStringLiteral("%1: not saved, the unreadable file is kept as it was")
                               .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_writeError = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QByteArray text = kHeader + '\n';
    for (const auto &entry : m_values)
        text += encode(entry.first) + '=' + encode(entry.second) + '\n';
    file.write(text);
    if (!file.commit()) {
        m_writeError = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    m_writeError.clear();
    return true;
}

bool FileSettingsStore::setValue(const std::string &key, const std::string &value)
{
    MemorySettingsStore::setValue(key, value);
    return save();
}

bool FileSettingsStore::remove(const std::string &key)
{
    const bool held = MemorySettingsStore::remove(key);
    return held && save();
}
