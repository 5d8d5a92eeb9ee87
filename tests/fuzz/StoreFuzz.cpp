#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "studio/peers/FileSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <string>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size();
}

// Copies the store keeps of a file it could not read (settings.conf.unreadable-<time>).
QStringList keptCopies(const QDir &dir)
{
    return dir.entryList({QStringLiteral("settings.conf.unreadable-*")}, QDir::Files);
}

} // namespace

// The persistent store's reader on any file contents: it never crashes; a
// file it reads back is rewritten to the same entries; a file it cannot read
// is reported, left in place byte for byte and kept as a copy before the
// first change replaces it.
int fuzzStore(const uint8_t *data, size_t size)
{
    static QTemporaryDir tempDir;
    FUZZ_CHECK(tempDir.isValid(), "no temporary folder");
    QDir dir(tempDir.path());
    for (const QString &name : dir.entryList(QDir::Files))
        dir.remove(name);

    const QString path = dir.filePath(QStringLiteral("settings.conf"));
    const QByteArray contents(reinterpret_cast<const char *>(data), int(size));
    FUZZ_CHECK(writeAll(path, contents), "cannot write the input file");

    std::map<std::string, std::string> entries;
    {
        FileSettingsStore store(path);
        FUZZ_CHECK(readAll(path) == contents, "reading the store changed its file");
        if (store.loadError().isEmpty()) {
            entries = store.entries();
            // A rewrite must keep every entry it read: write one back
            // unchanged, or add and remove one in an empty file.
            if (!entries.empty()) {
                const auto first = *entries.begin();
                FUZZ_CHECK(store.setValue(first.first, first.second),
                           "a readable file could not be rewritten");
            } else {
                FUZZ_CHECK(store.setValue("probe", "x"), "a readable file could not be rewritten");
                FUZZ_CHECK(store.remove("probe"), "the probe entry could not be removed");
            }
        } else {
            FUZZ_CHECK(store.entries().empty(), "an unreadable file left entries behind");
            FUZZ_CHECK(store.loadError().contains(QDir::toNativeSeparators(path)),
                       "the load error does not name the file");
            const QStringList copies = keptCopies(dir);
            FUZZ_CHECK(copies.size() == 1, "the unreadable file was not kept exactly once");
            if (copies.size() == 1)
                FUZZ_CHECK(readAll(dir.filePath(copies.first())) == contents,
                           "the kept copy differs from the unreadable file");
            FUZZ_CHECK(store.value("any", "default") == "default", "an empty store answers a value");
            return 0;
        }
    }

    FileSettingsStore reread(path);
    FUZZ_CHECK(reread.loadError().isEmpty(),
               "the store cannot read the file it wrote: " + reread.loadError().toStdString());
    FUZZ_CHECK(reread.entries() == entries, "entries changed across a rewrite");
    FUZZ_CHECK(keptCopies(dir).isEmpty(), "a readable file was copied aside");
    return 0;
}
