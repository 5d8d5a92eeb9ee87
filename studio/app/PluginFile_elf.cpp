#include "PluginFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

QString osError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

// dlopen maps a library's segments straight from its file, and touching a
// page past the end of a cut file kills the process (SIGBUS). So the ELF
// headers and every loadable segment must lie within the file before
// dlopen sees it.
QString PluginFile::layoutProblem(const QString &path)
{
    // Non-blocking, so a FIFO under a plug-in's name cannot hold the host.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return osError(errno);
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return tr("not a regular file");
    const quint64 size = quint64(info.st_size);
    const auto within = [size](quint64 offset, quint64 length) {
        return offset <= size && length <= size - offset;
    };
    ElfW(Ehdr) header = {};
    if (file.read(reinterpret_cast<char *>(&header), sizeof header) != qint64(sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return tr("not an ELF file");
    if (header.e_ident[EI_CLASS] != (sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32))
        return tr("an ELF file of another word size than the host's");
    const QString cut = tr("cut short or damaged: %1 lies past the end of the file (%2 bytes)");
    if (header.e_phentsize != sizeof(ElfW(Phdr)) ||
        !within(header.e_phoff, quint64(header.e_phnum) * sizeof(ElfW(Phdr))))
        return cut.arg(tr("its program header table")).arg(size);
    file.seek(qint64(header.e_phoff));
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment = {};
        if (file.read(reinterpret_cast<char *>(&segment), sizeof segment) !=
                    qint64(sizeof segment) ||
            (segment.p_type == PT_LOAD && !within(segment.p_offset, segment.p_filesz)))
            return cut.arg(tr("loadable segment %1").arg(i)).arg(size);
    }
    if (!within(header.e_shoff, quint64(header.e_shnum) * header.e_shentsize))
        return cut.arg(tr("its section header table")).arg(size);
    return QString();
}

QStringList PluginFile::pluginFiles(const QString &folder, QString *problem)
{
    QStringList files;
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) {
        *problem = osError(errno);
        return files;
    }
    while (const dirent *entry = ::readdir(listing)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (length < 4 || ::strcasecmp(entry->d_name + length - 4, ".plg") != 0)
            continue;
        // The type from the listing where the file system gives it; a link
        // counts by what it points to.
        struct stat info = {};
        if (entry->d_type == DT_REG ||
            ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
             ::fstatat(::dirfd(listing), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)))
            files << QFile::decodeName(entry->d_name);
    }
    ::closedir(listing);
    files.sort();
    return files;
}
