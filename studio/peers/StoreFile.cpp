#include "StoreFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kTemporaryMark = QStringLiteral(".save-");

} // namespace

StoreFile::StoreFile(const QString &path)
    : m_path(path)
{ }

QString StoreFile::temporaryPath() const
{
    return m_path + kTemporaryMark + QString::number(QCoreApplication::applicationPid());
}

// A temporary outlives its save only when the process died during it; and
// while the store's lock is held no live process is in a save. QFile's
// remove never follows a link, and a folder of that name stays.
void StoreFile::removeLeftovers() const
{
    const QFileInfo file(m_path);
    const QString prefix = file.fileName() + kTemporaryMark;
    const QDir folder = file.dir();
    const QStringList names =
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        bool number = false;
        name.mid(prefix.size()).toULongLong(&number);
        if (name.startsWith(prefix) && number)
            QFile::remove(folder.filePath(name));
    }
}
