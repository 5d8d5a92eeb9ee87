#pragma once

#include "MemorySettingsStore.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

class LockBudget;
class StoreLock;

// A module's settings kept in one file, so they survive a restart of the
// host. Keys and values are arbitrary bytes, written percent-encoded one
// entry a line, so the file stays readable and exact.
//
// A save either replaces the file whole or fails with the system's reason
// and leaves the old file byte for byte. Saves are serialised across
// processes by a lock file and merge as QSettings::sync() does: the file is
// read again and only the keys this store changed or removed are applied,
// so two studios never drop each other's keys.
//
// Only a regular file of at most StoreFile::kMaxSize bytes is a store.
// Anything else in its place (a symbolic link, device, FIFO, socket,
// folder, a larger file) or a file that cannot be read is reported and
// left alone: never opened, never replaced; the values then
// live only as long as the store. A file that reads but cannot be parsed
// is reported and kept as a copy named after its content (so one copy per
// distinct content), with the file's mode and owner; the store starts
// empty.
//
// Not QSettings with registerFormat(), though it locks and merges too: its
// keys are QStrings that it rewrites ('/' makes groups, "a//b" becomes
// "a/b"), its status() carries no system reason, it saves through
// QSaveFile::commit() unchecked, follows a symbolic link and blocks on a
// FIFO in the file's place.
//
// The file system calls are StoreFile's and StoreLock's, one
// implementation for each platform; the texts are the same on both.
class FileSettingsStore : public MemorySettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(FileSettingsStore)

public:
    using Entries = std::map<std::string, std::string>;

    // Saves take milliseconds; a holder that keeps the lock longer is stuck.
    static constexpr std::chrono::milliseconds kLockWait{10000};

    // `lockWait`: how long a save waits for another process's save.
    explicit FileSettingsStore(const QString &filePath,
                               std::chrono::milliseconds lockWait = kLockWait);

    // Bounds the saves' wait for the lock by what `budget` has left; the
    // stores of one studio share one.
    void setLockBudget(std::shared_ptr<LockBudget> budget);

    // Both save at once; false when the file could not be saved.
    bool setValue(const std::string &key, const std::string &value) override;
    bool remove(const std::string &key) override;

    QString filePath() const;
    // Why the file could not be read at start ("" when it read fine or did
    // not exist yet); names the file and the copy that was kept.
    QString loadError() const;
    // Why values of this store are not in its file ("" when all are).
    QString writeError() const;
    // What the file holds as far as this store knows: read at start or
    // written by its last save. Null while that is unknown (unreadable).
    const Entries *storedEntries() const;

    // The text of the file format's first line.
    static const char *header();

private:
    void load();
    // Each false with m_writeError set.
    bool save();
    bool takeLock(StoreLock &lock);
    bool merge(Entries *merged, bool *unchanged);
    bool write(const Entries &entries);
    // Keeps an unparsable file's content beside it; false with `why` set
    // when no copy could be made.
    bool keepCopy(const QByteArray &content, QString *copy, QString *why) const;

    QString m_path;
    std::chrono::milliseconds m_lockWait;
    std::shared_ptr<LockBudget> m_lockBudget;
    QString m_loadError;
    QString m_writeError;
    Entries m_stored;
    bool m_storedKnown = true;
    QString m_refusal; // why the file must not be replaced ("" when it may)
    // Keys set (a value) or removed (none) since the last save.
    std::map<std::string, std::optional<std::string>> m_changes;
};
