#include "StudioMain.h"

#include "MainWindow.h"
#include "PageState.h"
#include "Screenshot.h"
#include "SettingsDialog.h"
#include "StoreDump.h"
#include "StudioSession.h"
#include "StudioStyle.h"
#include "StudioTranslations.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostDevice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

StudioMain::StudioMain(bool outputOpen, bool fellBack)
    : m_outputOpen(outputOpen)
    , m_fellBack(fellBack)
{ }

// Names and paths in messages come from files and plug-ins: control
// characters are shown escaped, so each message stays one line and cannot
// forge another or drive the terminal.
void StudioMain::say(const QString &line)
{
    QString text;
    for (const QChar c : line) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            text += QString(c.unicode() < 0x100 ? QLatin1String("\\x%1") : QLatin1String("\\u%1"))
                            .arg(c.unicode(), c.unicode() < 0x100 ? 2 : 4, 16, QLatin1Char('0'));
        else
            text += c;
    }
    std::fprintf(stderr, "studio: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

int StudioMain::exec()
{
    QString message;
    switch (m_options.parse(QCoreApplication::arguments(), &message)) {
    case StudioOptions::Outcome::Help:
        std::fprintf(stdout, "%s", message.toLocal8Bit().constData());
        return 0;
    case StudioOptions::Outcome::Error:
        say(message);
        say(tr("try “studio --help”"));
        return kBadOptions;
    case StudioOptions::Outcome::Run:
        break;
    }
    StudioStyle::apply();
    if (const int code = prepareFolders())
        return code;
    StudioTranslations translations;
    if (!m_options.language.isEmpty() &&
        !translations.load(m_options.language, m_pluginDir, &message)) {
        say(message);
        return kBadOptions;
    }
    if (m_fellBack)
        say(tr("no display found: running on the offscreen platform"));
    orvane::StudioApplication &studio = orvane::StudioApplication::instance();
    if (m_options.hyperFps)
        studio.hostFlags().setFlag("uis_dev.hyper_fps", true);
    StudioSession session(studio, m_configDir, m_options.deviceKinds);
    int code = prepareSession(session);
    if (m_options.isBatch())
        code = std::max(code, runBatch(session));
    else
        code = std::max(code, runWindow(session));
    // Values the window could not save were reported there; the exit
    // status says so as well.
    if (!session.writeErrors().isEmpty())
        code = std::max(code, kFailed);
    session.shutdown();
    return code;
}

int StudioMain::prepareFolders()
{
    m_pluginDir = m_options.pluginDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                                : m_options.pluginDir;
    if (!QFileInfo(m_pluginDir).isDir()) {
        say(tr("--plugins: “%1” is not a folder").arg(m_pluginDir));
        return kBadOptions;
    }
    m_configDir = m_options.configDir.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
            : m_options.configDir;
    // The standard library's call, unlike QDir::mkpath, says why it failed.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_configDir.toStdU16String()), error);
    if (error || !QFileInfo(m_configDir).isDir()) {
        const QString why = error ? QString::fromLocal8Bit(error.message().c_str())
                                  : QString::fromLocal8Bit(std::strerror(ENOTDIR));
        say(tr("--config: cannot use the folder “%1”: %2").arg(m_configDir, why));
        return kBadOptions;
    }
    return 0;
}

// From here on a failure is reported and the run goes on, values kept in
// memory; the exit status says that something failed.
int StudioMain::prepareSession(StudioSession &session)
{
    int code = 0;
    for (const QString &error : session.storeErrors()) {
        say(error);
        code = kFailed;
    }
    session.device().setActive(m_options.deviceActive);
    for (const StudioOptions::Assignment &assignment : m_options.assignments) {
        QString error;
        if (!session.write(assignment, &error)) {
            say(tr("--set: %1").arg(error));
            code = kFailed;
        }
    }
    const QString unlisted = session.loader().loadFolder(m_pluginDir);
    if (!unlisted.isEmpty()) {
        say(tr("--plugins: cannot read the folder %1: %2").arg(m_pluginDir, unlisted));
        code = kFailed;
    }
    reportPlugins(session);
    return code;
}

// One line per plug-in, in the order the files were loaded.
void StudioMain::reportPlugins(StudioSession &session)
{
    std::vector<std::pair<QString, QString>> lines;
    for (const PluginLoader::Refused &refused : session.loader().refused())
        lines.emplace_back(refused.file,
                           tr("refused plug-in %1: %2")
                                   .arg(QDir::toNativeSeparators(refused.file), refused.reason));
    for (const PluginLoader::Loaded &loaded : session.loader().loaded())
        lines.emplace_back(loaded.file,
                           tr("loaded plug-in “%1” from %2")
                                   .arg(QString::fromStdString(loaded.name),
                                        QDir::toNativeSeparators(loaded.file)));
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto &x, const auto &y) { return x.first < y.first; });
    for (const auto &line : lines)
        say(line.second);
}

int StudioMain::runBatch(StudioSession &session)
{
    int code = 0;
    if (m_options.openSettings || m_options.showsDialogInBatch())
        code = runDialog(session);
    QString why;
    if (m_options.dump && !writeDump(StoreDump::dump(session.stores()), &why)) {
        say(tr("--dump: the output could not be written: %1").arg(why));
        code = kFailed;
    }
    return code;
}

// Opens the dialog on the Device page and does what the options ask of it.
int StudioMain::runDialog(StudioSession &session) const
{
    int code = 0;
    SettingsDialog dialog(session.pages());
    // No one is there to answer a message box; the lines say it all.
    dialog.setMessageBoxesEnabled(false);
    dialog.setDeviceActive(session.device().isActive());
    QObject::connect(&dialog, &SettingsDialog::errorShown, [&](const QString &message) {
        say(message);
        code = kFailed;
    });
    if (dialog.pageCount() == 0)
        say(tr("there are no settings pages"));
    else if (!dialog.selectPage("Device"))
        say(tr("there is no “Device” page; showing the first page"));
    dialog.show();
    QCoreApplication::processEvents();
    if (m_options.restoreDefaults) {
        dialog.restoreCurrentDefaults();
        QCoreApplication::processEvents();
    }
    if (m_options.apply) {
        if (!dialog.applyAll())
            code = kFailed;
        // The page cannot tell that a store failed to save; the host can.
        for (const QString &error : session.writeErrors()) {
            say(error);
            code = kFailed;
        }
    }
    QString error;
    const auto failed = [&] {
        say(error);
        code = kFailed;
    };
    if (!m_options.screenshotFile.isEmpty() &&
        !Screenshot::save(&dialog, m_options.screenshotFile, &error))
        failed();
    if (!m_options.pageStateFile.isEmpty() &&
        !PageState::save(&dialog, m_options.pageStateFile, &error))
        failed();
    // Closing releases the page widgets while the plug-ins are still there.
    dialog.done(QDialog::Accepted);
    return code;
}

int StudioMain::runWindow(StudioSession &session) const
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        say(tr("nothing to show on the offscreen platform (use --screenshot, --dump or --apply)"));
        return 0;
    }
    MainWindow window(session);
    window.show();
    if (m_options.openSettings)
        window.openSettings("Device");
    return QApplication::exec();
}

// Writes the dump; false with `why` set when not all of it got out.
bool StudioMain::writeDump(const QByteArray &bytes, QString *why) const
{
    errno = m_outputOpen ? 0 : EBADF;
    // One block, the only output: written straight through rather than
    // copied into a stdio buffer allocated for it.
    if (m_outputOpen && std::setvbuf(stdout, nullptr, _IONBF, 0) == 0 &&
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return true;
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
