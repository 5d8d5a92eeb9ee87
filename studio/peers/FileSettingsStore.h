#pragma once

#include "MemorySettingsStore.h"

#include <QString>

// A module's settings kept in one file, so they survive a restart of the
// host. Every change rewrites the file atomically (a crash mid-write leaves
// the previous file). Keys and values are arbitrary bytes, written
// percent-encoded one entry a line, so the file stays readable and exact.
//
// A file that cannot be read or parsed is never overwritten silently: the
// store starts empty, reports why through loadError(), and first keeps a
// copy of the file; if even the copy cannot be made it refuses to write.
class FileSettingsStore : public MemorySettingsStore
{
public:
    explicit FileSettingsStore(const QString &filePath);

    bool setValue(const std::string &key, const std::string &value) override;
    bool remove(const std::string &key) override;

    QString filePath() const;
    // Why the file could not be read at start ("" when it read fine or did
    // not exist yet); names the file and the copy that was kept.
    QString loadError() const;
    // Why the last write failed ("" after a successful one).
    QString writeError() const;

    // The text of the file format's first line.
    static const char *header();

private:
    void load();
    bool save();

    QString m_path;
    QString m_loadError;
    QString m_writeError;
    bool m_writable = true;
};
