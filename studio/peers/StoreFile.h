#pragma once

#include <QByteArray>
#include <QString>

// The platform half of FileSettingsStore: how one file is read and
// replaced. StoreFile_posix.cpp and StoreFile_win.cpp implement it; the
// build picks one. Only the system's own reasons are worded here; what a
// store makes of them is FileSettingsStore's.
class StoreFile
{
public:
    enum class Read { Absent, Done, Refused, TooLarge };
    // What stands at the path; anything but Regular is never opened for
    // reading or writing, nor replaced.
    enum class Kind { Regular, SymbolicLink, Folder, Fifo, Socket, Device, Other };

    // Settings take kilobytes. A larger file is not a store, and reading
    // it whole could take all memory (and past 2 GiB a QByteArray cannot
    // hold it).
    static constexpr qint64 kMaxSize = qint64(64) << 20;

    explicit StoreFile(const QString &path);

    // Looks at what stands at the path, without following a link or
    // opening it: true with kind() set when something does; false when
    // nothing does, or with errorString() set when it cannot be told.
    bool lookUp();
    // Reads the whole file, to its end, without following a symbolic link
    // or waiting on a FIFO or device. Refused: kind() says what stands
    // there, or it is Regular and errorString() gives the system's reason.
    // TooLarge: the file holds more than kMaxSize bytes.
    Read read(QByteArray *bytes);
    // Replaces the file whole or not at all: a temporary beside it, every
    // write checked, synced to disk, then renamed over the old file. On a
    // failure the old file stays byte for byte, no temporary is left and
    // errorString() gives the system's reason. Where the system has modes
    // and owners, the new file gets those of the regular file `like`, by
    // default of the file it replaces.
    bool replace(const QByteArray &bytes, const QString &like = QString());
    // Removes the temporaries of replaces whose process died during one.
    // Only while no other process may be replacing this file: under its
    // store's lock.
    void removeLeftovers() const;

    Kind kind() const { return m_kind; }
    QString errorString() const { return m_error; }

private:
    // Named after the process, so a leftover says what it is and whose.
    QString temporaryPath() const;

    QString m_path;
    Kind m_kind = Kind::Regular;
    QString m_error;
};
