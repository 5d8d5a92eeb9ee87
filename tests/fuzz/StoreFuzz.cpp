#include "FuzzHarness.h"
#include "studio/peers/FileSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

// The studio's settings file reader on any contents: it never crashes; a
// file it reads is rewritten with the same entries; a file it cannot read is
// reported by name, left as it is, and kept as one copy beside it.
int fuzzStore(const uint8_t *data, size_t size)
{
    static QTemporaryDir tempDir;
    QDir dir(tempDir.path());
    for (const QString &name : dir.entryList(QDir::Files))
        dir.remove(name);
    const QString path = dir.filePath(QStringLiteral("settings.conf"));
    const QByteArray contents(reinterpret_cast<const char *>(data), int(size));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size(),
               "cannot write the input file");
    file.close();

    std::map<std::string, std::string> entries;
    {
        FileSettingsStore store(path);
        FUZZ_CHECK(contentsOf(path) == contents, "reading the store changed its file");
        const QStringList copies = dir.entryList({"settings.conf.unreadable-*"}, QDir::Files);
        if (!store.loadError().isEmpty()) {
            FUZZ_CHECK(store.entries().empty() &&
                               store.loadError().contains(QDir::toNativeSeparators(path)) &&
                               copies.size() == 1 &&
                               contentsOf(dir.filePath(copies.value(0))) == contents,
                       "an unreadable file was not reported, kept aside once, or left entries");
            return 0;
        }
        FUZZ_CHECK(copies.isEmpty(), "a readable file was copied aside");
        entries = store.entries();
        // Rewrite: one entry written back unchanged, or one added and removed.
        std::pair<std::string, std::string> first{"probe", "x"};
        if (!entries.empty())
            first = *entries.begin();
        FUZZ_CHECK(store.setValue(first.first, first.second), "a readable file was not rewritten");
        if (entries.empty())
            FUZZ_CHECK(store.remove("probe"), "the probe entry was not removed");
    }
    FileSettingsStore reread(path);
    FUZZ_CHECK(reread.loadError().isEmpty() && reread.entries() == entries,
               "the rewritten file reads back differently: " + reread.loadError().toStdString());
    return 0;
}
