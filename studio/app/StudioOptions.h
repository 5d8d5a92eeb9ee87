#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QCommandLineParser;

// The studio's command line, parsed and checked before anything is loaded.
class StudioOptions
{
    Q_DECLARE_TR_FUNCTIONS(StudioOptions)

public:
    // One `--set MODULE:KEY=VALUE`, with its escapes already decoded.
    struct Assignment
    {
        std::string module;
        std::string key;
        std::string value;
    };

    enum class Outcome { Run, Help, Error };

    QString configDir; // empty: the default config location
    QString pluginDir; // empty: beside the executable
    bool hyperFps = false;
    std::vector<std::string> deviceKinds{"UNI", "hybird"}; // as the host names them
    bool deviceActive = false;
    QString language; // empty: no translation
    std::vector<Assignment> assignments;
    bool openSettings = false;
    bool restoreDefaults = false;
    bool apply = false;
    bool dump = false;
    QString screenshotFile;
    QString pageStateFile;

    // Parses `arguments` (with the program name first). On Help, `message`
    // holds the help text; on Error, one line saying what is wrong.
    Outcome parse(const QStringList &arguments, QString *message);

    // True when the run ends by itself instead of waiting for a person.
    bool isBatch() const;
    // True when a batch run opens the settings dialog to act on it.
    bool showsDialogInBatch() const;

    // The modules whose stores `--set` and `--dump` know, in dump order.
    static const std::vector<std::string> &storeModules();

    // Decodes the escapes of a `--set` key or value: \\ \n \r \t \= \xHH.
    // They let a shell pass any byte, and a key hold '='. False, with
    // `error` set, on a lone or unknown escape.
    static bool unescape(const QString &text, std::string *out, QString *error);
    // Splits and decodes `MODULE:KEY=VALUE`.
    static bool parseAssignment(const QString &text, Assignment *out, QString *error);

private:
    // Each reads its options from a parsed command line; false, with
    // `message` set, on a value that cannot be used.
    bool readFolders(const QCommandLineParser &parser, QString *message);
    bool readDeviceKinds(const QCommandLineParser &parser, QString *message);
    bool readLanguage(const QCommandLineParser &parser, QString *message);
    bool readAssignments(const QCommandLineParser &parser, QString *message);
    bool readActions(const QCommandLineParser &parser, QString *message);
};
