#include "StoreFile.h"

#include "WinHandle.h"

#include <QDir>
#include <QScopeGuard>
#include <QtGlobal>

#include <chrono>
#include <string>
#include <thread>

namespace {

std::wstring native(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

// qt_error_string() takes 2, 13, 24 and 28 for errno values; of these only
// 2 (not found) comes from file calls, and it reads the same.
QString lastError() { return qt_error_string(int(GetLastError())); }

// What an opened handle is. FILE_FLAG_OPEN_REPARSE_POINT opened a symbolic
// link or junction as itself; FILE_FLAG_BACKUP_SEMANTICS let a folder open,
// so that it can be named rather than failing with "Access is denied".
bool kindOf(HANDLE file, StoreFile::Kind *kind, QString *why)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_CHAR:
        *kind = StoreFile::Kind::Device;
        return true;
    case FILE_TYPE_PIPE:
        *kind = StoreFile::Kind::Fifo;
        return true;
    default:
        *kind = StoreFile::Kind::Other;
        return true;
    }
    FILE_ATTRIBUTE_TAG_INFO info = {};
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info)) {
        *why = lastError();
        return false;
    }
    const bool link = info.ReparseTag == IO_REPARSE_TAG_SYMLINK ||
            info.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT;
    if (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        *kind = link ? StoreFile::Kind::SymbolicLink : StoreFile::Kind::Other;
    else if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        *kind = StoreFile::Kind::Folder;
    else
        *kind = StoreFile::Kind::Regular;
    return true;
}

// Reads to the end of the file, but never more than `limit` + 1 bytes, so a
// file that grows while it is read cannot take all memory.
bool readToEnd(HANDLE file, qint64 limit, QByteArray *bytes, QString *why)
{
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    bytes->clear();
    while (bytes->size() <= limit) {
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), DWORD(chunk.size()), &got, nullptr)) {
            *why = lastError();
            return false;
        }
        if (got == 0)
            return true;
        bytes->append(chunk.constData(), int(got));
    }
    return true;
}

// CREATE_NEW never opens what another put at the name (a link, say). One
// with this process's id is a dead process's leftover (ids are reused): no
// other live process writes it, so it goes.
WinHandle createNew(const std::wstring &name)
{
    const auto create = [&name] {
        return WinHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    WinHandle file = create();
    if (!file && GetLastError() == ERROR_FILE_EXISTS && DeleteFileW(name.c_str()))
        file = create();
    return file;
}

bool writeAll(HANDLE file, const QByteArray &bytes, QString *why)
{
    for (qint64 done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD size = DWORD(qMin<qint64>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.constData() + done, size, &written, nullptr) || written == 0) {
            *why = lastError();
            return false;
        }
        done += written;
    }
    if (FlushFileBuffers(file))
        return true;
    *why = lastError();
    return false;
}

// Another studio reading the old file (starting, or --dump) holds it open
// for the milliseconds of its read, and a file that is open cannot be
// renamed over; so the rename is retried that long before it counts as
// failed. Returns the error, or ERROR_SUCCESS.
DWORD renameOver(const wchar_t *from, const wchar_t *to)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    for (;;) {
        if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!busy || std::chrono::steady_clock::now() >= deadline)
            return error;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Writes `bytes` to the new file `name` and syncs it; on a failure the
// file is gone again.
bool writeTemporary(const std::wstring &name, const QByteArray &bytes, QString *why)
{
    WinHandle file = createNew(name);
    if (!file) {
        *why = lastError();
        return false;
    }
    if (writeAll(file.get(), bytes, why))
        return true;
    file = WinHandle(); // closed, or it could not be deleted
    DeleteFileW(name.c_str());
    return false;
}

// Opens what stands at `path` as itself (a link, a folder) with `access`;
// null with `why` empty when nothing stands there.
WinHandle openAsItself(const QString &path, DWORD access, QString *why)
{
    WinHandle file(CreateFileW(native(path).c_str(), access,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const DWORD error = GetLastError();
    if (!file && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        *why = qt_error_string(int(error));
    return file;
}

} // namespace

bool StoreFile::lookUp()
{
    m_error.clear();
    const WinHandle file = openAsItself(m_path, 0, &m_error);
    return file && kindOf(file.get(), &m_kind, &m_error);
}

StoreFile::Read StoreFile::read(QByteArray *bytes)
{
    m_error.clear();
    const WinHandle file = openAsItself(m_path, GENERIC_READ, &m_error);
    if (!file)
        return m_error.isEmpty() ? Read::Absent : Read::Refused;
    if (!kindOf(file.get(), &m_kind, &m_error) || m_kind != Kind::Regular)
        return Read::Refused;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) {
        m_error = lastError();
        return Read::Refused;
    }
    if (size.QuadPart > kMaxSize)
        return Read::TooLarge;
    if (!readToEnd(file.get(), kMaxSize, bytes, &m_error))
        return Read::Refused;
    return bytes->size() > kMaxSize ? Read::TooLarge : Read::Done;
}

// The temporary is closed before MoveFileExW replaces the old file in one
// step. The new file takes its access from the folder (inherited ACLs), as
// the old one did, so `like` has nothing to add here.
bool StoreFile::replace(const QByteArray &bytes, const QString &like)
{
    Q_UNUSED(like)
    const std::wstring temporary = native(temporaryPath());
    if (!writeTemporary(temporary, bytes, &m_error))
        return false;
    auto remove = qScopeGuard([&temporary] { DeleteFileW(temporary.c_str()); });
    const DWORD error = renameOver(temporary.c_str(), native(m_path).c_str());
    if (error == ERROR_SUCCESS) {
        remove.dismiss();
        return true;
    }
    m_error = qt_error_string(int(error));
    return false;
}
