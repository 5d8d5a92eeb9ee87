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
    enum class Read { Absent, Done, Refused };
    // What stands at the path; anything but Regular is never opened for
    // reading or writing, nor replaced.
    enum class Kind { Regular, SymbolicLink, Folder, Fifo, Socket, Device, Other };

    explicit StoreFile(const QString &path);

    // Reads the whole file without following a symbolic link or waiting on
    // a FIFO or device. Refused: kind() says what stands there, or it is
    // Regular and errorString() gives the system's reason.
    Read read(QByteArray *bytes);
    // Replaces the file whole or not at all: a temporary beside it, every
    // write checked, synced to disk, then renamed over the old file. On a
    // failure the old file stays byte for byte, no temporary is left and
    // errorString() gives the system's reason.
    bool replace(const QByteArray &bytes);

    Kind kind() const { return m_kind; }
    QString errorString() const { return m_error; }

private:
    QString m_path;
    Kind m_kind = Kind::Regular;
    QString m_error;
};
