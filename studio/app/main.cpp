// The studio host's entry point: options, stores, plug-ins, then either a
// batch run (--apply, --screenshot, --dump) or the main window.

#include "MainWindow.h"
#include "PageState.h"
#include "Screenshot.h"
#include "SettingsDialog.h"
#include "StandardStreams.h"
#include "StoreDump.h"
#include "StudioOptions.h"
#include "StudioSession.h"
#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostDevice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

QString tr(const char *text) { return QCoreApplication::translate("studio", text); }

// Names and paths in messages come from files and plug-ins: control
// characters are shown escaped, so each message stays one line and cannot
// forge another or drive the terminal.
void say(const QString &line)
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

// Writes the dump; false with `why` set when not all of it got out.
bool writeOutput(const QByteArray &bytes, bool outputOpen, QString *why)
{
    errno = outputOpen ? 0 : EBADF;
    if (outputOpen &&
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return true;
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// Exit codes: 0 done, 1 something failed at run time, 2 bad options.
constexpr int kFailed = 1;
constexpr int kBadOptions = 2;

// Qt's offscreen platform warns about features it lacks on every dialog,
// and QStandardPaths about a missing runtime folder; neither concerns the
// person running the studio, so those two are dropped and the rest kept.
QtMessageHandler qtHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("This plugin does not support")) ||
         message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))))
        return;
    qtHandler(type, context, message);
}

bool hasNoDisplay()
{
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Opens the dialog on the Device page and does what the options ask of it.
int runDialog(StudioSession &session, const StudioOptions &options)
{
    int code = 0;
    SettingsDialog dialog(session.pages());
    dialog.setMessageBoxesEnabled(false);
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
    if (options.restoreDefaults) {
        dialog.restoreCurrentDefaults();
        QCoreApplication::processEvents();
    }
    if (options.apply) {
        if (!dialog.applyAll())
            code = kFailed;
        // The page cannot tell that a store failed to save; the host can.
        for (const QString &error : session.writeErrors()) {
            say(error);
            code = kFailed;
        }
    }
    QString error;
    if (!options.screenshotFile.isEmpty() &&
        !Screenshot::save(&dialog, options.screenshotFile, &error)) {
        say(error);
        code = kFailed;
    }
    if (!options.pageStateFile.isEmpty() &&
        !PageState::save(&dialog, options.pageStateFile, &error)) {
        say(error);
        code = kFailed;
    }
    // Closing releases the page widgets while the plug-ins are still there.
    dialog.done(QDialog::Accepted);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool outputOpen = StandardStreams::guard();
    qtHandler = qInstallMessageHandler(filterMessages);
    const bool fellBack = hasNoDisplay();
    if (fellBack)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("uis-studio"));
    if (fellBack)
        say(tr("no display found: running on the offscreen platform"));

    StudioOptions options;
    QString message;
    switch (options.parse(QCoreApplication::arguments(), &message)) {
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

    const QString pluginDir = options.pluginDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                                          : options.pluginDir;
    if (!QFileInfo(pluginDir).isDir()) {
        say(tr("--plugins: “%1” is not a folder").arg(pluginDir));
        return kBadOptions;
    }
    const QString configDir = options.configDir.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
            : options.configDir;
    if (!QDir().mkpath(configDir)) {
        say(tr("--config: cannot use the folder “%1”").arg(configDir));
        return kBadOptions;
    }

    QTranslator pluginTranslator;
    QTranslator qtTranslator;
    if (!options.language.isEmpty()) {
        const QString file = QDir(pluginDir).filePath(
                QStringLiteral("translations/uis_dev_%1.qm").arg(options.language));
        if (!QFileInfo::exists(file)) {
            say(tr("--lang: no translation for “%1” (looked for %2)").arg(options.language, file));
            return kBadOptions;
        }
        if (!pluginTranslator.load(file)) {
            say(tr("--lang: %1 is not a translation file").arg(file));
            return kBadOptions;
        }
        QCoreApplication::installTranslator(&pluginTranslator);
        // Qt's own texts (the dialog's buttons), when Qt ships the language.
        if (qtTranslator.load(QStringLiteral("qtbase_") + options.language,
                              QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator);
    }

    orvane::StudioApplication &studio = orvane::StudioApplication::instance();
    if (options.hyperFps)
        studio.hostFlags().setFlag("uis_dev.hyper_fps", true);

    // From here on a failure is reported and the run goes on, values kept
    // in memory; the exit status says that something failed.
    int code = 0;
    StudioSession session(studio, configDir, options.deviceKinds);
    for (const QString &error : session.storeErrors()) {
        say(error);
        code = kFailed;
    }
    session.device().setActive(options.deviceActive);
    for (const StudioOptions::Assignment &assignment : options.assignments) {
        QString error;
        if (!session.write(assignment, &error)) {
            say(tr("--set: %1").arg(error));
            code = kFailed;
        }
    }

    const QString unlisted = session.loader().loadFolder(pluginDir);
    if (!unlisted.isEmpty()) {
        say(tr("--plugins: cannot read the folder %1: %2").arg(pluginDir, unlisted));
        code = kFailed;
    }
    // One line per plug-in, in the order the files were loaded.
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

    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    if (options.isBatch()) {
        if (options.openSettings || options.showsDialogInBatch())
            code = std::max(code, runDialog(session, options));
        QString why;
        if (options.dump && !writeOutput(StoreDump::dump(session.stores()), outputOpen, &why)) {
            say(tr("--dump: the output could not be written: %1").arg(why));
            code = kFailed;
        }
    } else if (offscreen) {
        say(tr("nothing to show on the offscreen platform (use --screenshot, --dump or --apply)"));
    } else {
        MainWindow window(session);
        window.show();
        if (options.openSettings)
            window.openSettings("Device");
        code = std::max(code, app.exec());
    }
    // Values the window could not save were reported there; the exit
    // status says so as well.
    if (!session.writeErrors().isEmpty())
        code = std::max(code, kFailed);
    session.shutdown();
    return code;
}
