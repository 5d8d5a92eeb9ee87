#include "StudioTranslations.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

bool StudioTranslations::loadFile(QTranslator &translator, const QString &file,
                                  const QString &language, QString *error)
{
    if (!QFileInfo::exists(file)) {
        *error = tr("--lang: no translation for “%1” (looked for %2)")
                         .arg(language, QDir::toNativeSeparators(file));
        return false;
    }
    if (!translator.load(file)) {
        *error = tr("--lang: %1 is not a translation file").arg(QDir::toNativeSeparators(file));
        return false;
    }
    QCoreApplication::installTranslator(&translator);
    return true;
}

bool StudioTranslations::load(const QString &language, const QString &pluginDir, QString *error)
{
    const QDir folder(QDir(pluginDir).filePath(QStringLiteral("translations")));
    const auto file = [&](const char *name) {
        return folder.filePath(QStringLiteral("%1_%2.qm").arg(QLatin1String(name), language));
    };
    if (!loadFile(m_plugin, file("uis_dev"), language, error) ||
        !loadFile(m_studio, file("studio"), language, error))
        return false;
    // A run folder carries Qt's translation beside the studio's, so every
    // system shows the same buttons; else Qt's installation may have it.
    const QString qtFile = QStringLiteral("qtbase_") + language;
    if (m_qt.load(qtFile, folder.path()) ||
        m_qt.load(qtFile, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    return true;
}
