#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

// The translations a run shows its texts in: the plug-ins' and the
// studio's own from translations/ beside the plug-ins, and Qt's own (the
// dialog's buttons) from beside them or from Qt's installation. Installed
// for as long as this object lives.
class StudioTranslations
{
    Q_DECLARE_TR_FUNCTIONS(StudioTranslations)

public:
    // Loads and installs `language`; false, with `error` set, when the
    // plug-ins' or the studio's translation is missing or unreadable.
    // Qt's own is optional: not every system ships it.
    bool load(const QString &language, const QString &pluginDir, QString *error);

private:
    static bool loadFile(QTranslator &translator, const QString &file, const QString &language,
                         QString *error);

    QTranslator m_plugin;
    QTranslator m_studio;
    QTranslator m_qt;
};
