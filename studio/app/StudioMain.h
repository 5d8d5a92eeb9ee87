#pragma once

#include "StudioOptions.h"

#include <QCoreApplication>
#include <QString>

class StudioSession;

// One run of the studio from its command line: options, folders,
// translations, stores and plug-ins, then a batch run (--apply,
// --screenshot, --dump, …) or the main window. Messages go to standard
// error, one line each; the dump alone goes to standard output.
class StudioMain
{
    Q_DECLARE_TR_FUNCTIONS(StudioMain)

public:
    // Exit statuses: 0 done, 1 something failed at run time, 2 bad options.
    static constexpr int kFailed = 1;
    static constexpr int kBadOptions = 2;

    // `outputOpen`: standard output was open when the process started.
    // `fellBack`: no display was found and the offscreen platform is used.
    StudioMain(bool outputOpen, bool fellBack);

    // Runs the QApplication that exists; returns the exit status.
    int exec();

    // Writes one line to standard error, control characters escaped.
    static void say(const QString &line);

private:
    int prepareFolders();
    int prepareSession(StudioSession &session);
    static void reportPlugins(StudioSession &session);
    int runBatch(StudioSession &session);
    int runDialog(StudioSession &session) const;
    int runWindow(StudioSession &session) const;
    bool writeDump(const QByteArray &bytes, QString *why) const;

    StudioOptions m_options;
    QString m_pluginDir;
    QString m_configDir;
    bool m_outputOpen;
    bool m_fellBack;
};
