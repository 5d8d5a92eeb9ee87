#include "PluginFile.h"
#include "PluginLoader.h"
#include "studio/peers/WinHandle.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

// The PE layouts are the Windows SDK's own (IMAGE_DOS_HEADER, IMAGE_NT_HEADERS,
// ...), not copies of ours: this file is built only for Windows, whose own
// format, byte order and word size these are, so the structures are read
// as they lie in the file.
#include <windows.h>

namespace {

#if defined(Q_PROCESSOR_X86_64)
constexpr WORD kHostMachine = IMAGE_FILE_MACHINE_AMD64;
#elif defined(Q_PROCESSOR_ARM_64)
constexpr WORD kHostMachine = IMAGE_FILE_MACHINE_ARM64;
#else
constexpr WORD kHostMachine = IMAGE_FILE_MACHINE_I386;
#endif
constexpr quint64 kNowhere = std::numeric_limits<quint64>::max();

// The file's bytes, every read checked against its size first: a forged
// offset or count gives a refusal, never a read past the end. It reads
// through the handle whose type was checked, which QFile cannot adopt.
struct View
{
    HANDLE file;
    quint64 size;

    bool within(quint64 offset, quint64 length) const
    {
        return offset <= size && length <= size - offset;
    }
    template<typename T>
    bool read(quint64 offset, T *values, quint64 count = 1) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        const quint64 length = count * sizeof(T);
        if (!within(offset, length) || length > MAXDWORD)
            return false;
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD got = 0;
        return ::ReadFile(file, values, DWORD(length), &got, &at) && got == length;
    }
};

// Where the `length` bytes at `rva` lie in the file, when they lie in one
// section's data there; else kNowhere.
quint64 fileOffset(const std::vector<IMAGE_SECTION_HEADER> &sections, quint64 rva, quint64 length)
{
    for (const IMAGE_SECTION_HEADER &section : sections) {
        const quint64 into = rva - section.VirtualAddress;
        if (rva >= section.VirtualAddress && into <= section.SizeOfRawData &&
            length <= section.SizeOfRawData - into)
            return section.PointerToRawData + into;
    }
    return kNowhere;
}

QString pastTheEnd(const QString &part, quint64 size)
{
    return PluginFile::tr("cut short or damaged: %1 lies past the end of the file (%2 bytes)")
            .arg(part)
            .arg(size);
}

// Checks the headers, the section table and every part of the file they
// place; fills `sections`, and `exports` when there is an export directory.
QString headerProblem(const View &view, std::vector<IMAGE_SECTION_HEADER> &sections,
                      IMAGE_DATA_DIRECTORY &exports)
{
    IMAGE_DOS_HEADER dos = {};
    if (!view.read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return PluginFile::tr("not a PE file");
    const quint64 ntAt = quint64(dos.e_lfanew);
    IMAGE_NT_HEADERS nt = {};
    if (!view.read(ntAt, &nt))
        return pastTheEnd(PluginFile::tr("its PE header"), view.size);
    if (nt.Signature != IMAGE_NT_SIGNATURE)
        return PluginFile::tr("not a PE file");
    if (nt.FileHeader.Machine != kHostMachine)
        return PluginFile::tr("a PE file for another machine than the host's");
    if (!(nt.FileHeader.Characteristics & IMAGE_FILE_DLL))
        return PluginFile::tr("not a DLL");
    if (nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return PluginFile::tr("a PE file of another word size than the host's");

    sections.resize(nt.FileHeader.NumberOfSections);
    if (!view.read(ntAt + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                           nt.FileHeader.SizeOfOptionalHeader,
                   sections.data(), sections.size()))
        return pastTheEnd(PluginFile::tr("its section table"), view.size);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!view.within(sections[i].PointerToRawData, sections[i].SizeOfRawData))
            return pastTheEnd(PluginFile::tr("section %1").arg(i), view.size);
    }
    // The loader ignores the symbol table, but a whole file has it (with
    // its strings) where its header says.
    const quint64 stringsAt = quint64(nt.FileHeader.PointerToSymbolTable) +
            quint64(nt.FileHeader.NumberOfSymbols) * IMAGE_SIZEOF_SYMBOL;
    DWORD stringsSize = 0;
    if (nt.FileHeader.PointerToSymbolTable != 0 &&
        (!view.read(stringsAt, &stringsSize) || !view.within(stringsAt, stringsSize)))
        return pastTheEnd(PluginFile::tr("its symbol table"), view.size);
    if (nt.FileHeader.SizeOfOptionalHeader >=
                offsetof(IMAGE_OPTIONAL_HEADER, DataDirectory) + sizeof exports &&
        nt.OptionalHeader.NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_EXPORT)
        exports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    return QString();
}

// Looks for the descriptor's entry point among the exported names, as
// GetProcAddress will, every name read within the file.
QString exportProblem(const View &view, const std::vector<IMAGE_SECTION_HEADER> &sections,
                      const IMAGE_DATA_DIRECTORY &exports)
{
    const QString missing = PluginFile::tr("no %1 entry point among its exports")
                                    .arg(QLatin1String(PluginLoader::kDescriptorSymbol));
    if (exports.VirtualAddress == 0)
        return missing;
    IMAGE_EXPORT_DIRECTORY directory = {};
    if (!view.read(fileOffset(sections, exports.VirtualAddress, sizeof directory), &directory))
        return pastTheEnd(PluginFile::tr("its export directory"), view.size);
    const quint64 count = directory.NumberOfNames;
    if (count == 0)
        return missing;
    const quint64 namesAt = fileOffset(sections, directory.AddressOfNames, count * sizeof(DWORD));
    std::vector<DWORD> names;
    // Sized only once the table is known to lie within the file: the count
    // may be forged.
    if (view.within(namesAt, count * sizeof(DWORD)))
        names.resize(count);
    if (names.size() != count || !view.read(namesAt, names.data(), count))
        return pastTheEnd(PluginFile::tr("its export name table"), view.size);

    // The name with its terminating zero.
    const QByteArray wanted(PluginLoader::kDescriptorSymbol,
                            int(std::strlen(PluginLoader::kDescriptorSymbol)) + 1);
    QByteArray name(wanted.size(), '\0');
    for (size_t i = 0; i < names.size(); ++i) {
        if (fileOffset(sections, names[i], 1) == kNowhere)
            return pastTheEnd(PluginFile::tr("export name %1").arg(i), view.size);
        if (view.read(fileOffset(sections, names[i], quint64(name.size())), name.data(),
                      quint64(name.size())) &&
            name == wanted)
            return QString();
    }
    return missing;
}

} // namespace

// LoadLibrary runs a DLL's code as it loads it, so a foreign or damaged
// file is refused here, from its headers alone: the host's machine, a DLL,
// every header and section within the file, and the descriptor's entry
// point among its exports.
QString PluginFile::layoutProblem(const QString &path)
{
    // Backup semantics, so that a folder opens too and is refused below.
    const WinHandle handle(
            ::CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                          GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle)
        return qt_error_string(int(::GetLastError()));
    // A device (NUL, COM1: such names open in any folder) may block or
    // never end.
    BY_HANDLE_FILE_INFORMATION info = {};
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return tr("not a regular file");
    const View view{handle.get(), (quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow};
    std::vector<IMAGE_SECTION_HEADER> sections;
    IMAGE_DATA_DIRECTORY exports = {};
    const QString problem = headerProblem(view, sections, exports);
    return problem.isEmpty() ? exportProblem(view, sections, exports) : problem;
}

QStringList PluginFile::pluginFiles(const QString &folder, QString *problem)
{
    QStringList files;
    WIN32_FIND_DATAW entry = {};
    // The pattern also matches short names ("A~1.PLG" of "a.plgx"), so the
    // long name is checked again.
    const QString pattern =
            QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("*.plg")));
    const HANDLE listing =
            ::FindFirstFileW(reinterpret_cast<const wchar_t *>(pattern.utf16()), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // No match, or an empty drive's root (not even a "." entry): empty,
        // not unreadable.
        if (!(error == ERROR_FILE_NOT_FOUND && QFileInfo(folder).isDir()))
            *problem = qt_error_string(int(error));
        return files;
    }
    do {
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            name.endsWith(QLatin1String(".plg"), Qt::CaseInsensitive))
            files << name;
    } while (::FindNextFileW(listing, &entry));
    ::FindClose(listing);
    files.sort();
    return files;
}
