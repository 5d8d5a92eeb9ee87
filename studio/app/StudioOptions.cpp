#include "StudioOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>

namespace {

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

const std::vector<std::string> &StudioOptions::storeModules()
{
    static const std::vector<std::string> modules{"vendrel-studio", "dev_hwup", "mirel_wr_support"};
    return modules;
}

bool StudioOptions::isBatch() const { return showsDialogInBatch() || dump; }

bool StudioOptions::showsDialogInBatch() const
{
    return restoreDefaults || apply || !screenshotFile.isEmpty() || !pageStateFile.isEmpty();
}

bool StudioOptions::unescape(const QString &text, std::string *out, QString *error)
{
    out->clear();
    // Plain text is kept as UTF-8; runs are flushed whole so that a
    // surrogate pair is never split.
    QString run;
    const auto flush = [&] {
        const QByteArray utf8 = run.toUtf8();
        out->append(utf8.constData(), size_t(utf8.size()));
        run.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            run += c;
            continue;
        }
        flush();
        if (i + 1 >= text.size()) {
            *error = tr("a lone \\ at the end of “%1”").arg(text);
            return false;
        }
        const QChar e = text.at(++i);
        switch (e.unicode()) {
        case '\\':
            out->push_back('\\');
            break;
        case 'n':
            out->push_back('\n');
            break;
        case 'r':
            out->push_back('\r');
            break;
        case 't':
            out->push_back('\t');
            break;
        case '=':
            out->push_back('=');
            break;
        case 'x': {
            const int hi = i + 1 < text.size() ? hexDigit(text.at(i + 1)) : -1;
            const int lo = i + 2 < text.size() ? hexDigit(text.at(i + 2)) : -1;
            if (hi < 0 || lo < 0) {
                *error = tr("\\x needs two hex digits in “%1”").arg(text);
                return false;
            }
            out->push_back(char(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            *error = tr("unknown escape \\%1 in “%2” (known: \\\\ \\n \\r \\t \\= \\xHH)")
                             .arg(e, text);
            return false;
        }
    }
    flush();
    return true;
}

bool StudioOptions::parseAssignment(const QString &text, Assignment *out, QString *error)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0) {
        *error = tr("--set wants MODULE:KEY=VALUE, got “%1”").arg(text);
        return false;
    }
    // The key ends at the first '=' that is not escaped.
    int eq = -1;
    for (int i = colon + 1; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (text.at(i) == QLatin1Char('=')) {
            eq = i;
            break;
        }
    }
    if (eq < 0) {
        *error = tr("--set wants MODULE:KEY=VALUE, got “%1” (no '=')").arg(text);
        return false;
    }
    const QString module = text.left(colon);
    const auto &known = storeModules();
    if (std::find(known.begin(), known.end(), module.toStdString()) == known.end()) {
        *error = tr("--set: unknown module “%1” (known: vendrel-studio, dev_hwup, "
                    "mirel_wr_support)")
                         .arg(module);
        return false;
    }
    Assignment a;
    a.module = module.toStdString();
    if (!unescape(text.mid(colon + 1, eq - colon - 1), &a.key, error) ||
        !unescape(text.mid(eq + 1), &a.value, error)) {
        *error = tr("--set: %1").arg(*error);
        return false;
    }
    if (a.key.empty()) {
        *error = tr("--set: empty key in “%1”").arg(text);
        return false;
    }
    *out = std::move(a);
    return true;
}

namespace {

// The options in the order --help lists them; values are read by name.
void declareOptions(QCommandLineParser &parser)
{
    using O = QCommandLineOption;
    const QString dir = StudioOptions::tr("DIR");
    const QString file = StudioOptions::tr("FILE");
    parser.setApplicationDescription(StudioOptions::tr(
            "Stand-in studio host: loads the *.plg plug-ins and shows their settings pages."));
    parser.addHelpOption();
    parser.addOptions({
            O(QStringLiteral("config"),
              StudioOptions::tr("Keep the settings stores in DIR (default: %1).")
                      .arg(QStringLiteral("~/.config/uis-studio")),
              dir),
            O(QStringLiteral("plugins"),
              StudioOptions::tr("Load the *.plg plug-ins from DIR (default: beside the "
                                "executable)."),
              dir),
            O(QStringLiteral("hyper-fps"), StudioOptions::tr("Turn on the flag uis_dev.hyper_fps.")),
            O(QStringLiteral("device-kinds"),
              StudioOptions::tr("Device kinds the host offers, comma-separated: Inertial, Hybrid "
                                "(default: both; empty: none)."),
              StudioOptions::tr("LIST")),
            O(QStringLiteral("device-active"),
              StudioOptions::tr("Start with the current device connected.")),
            O(QStringLiteral("lang"),
              StudioOptions::tr("Show the studio and its plug-ins in the language CODE (e.g. de)."),
              StudioOptions::tr("CODE")),
            O(QStringLiteral("set"),
              StudioOptions::tr(
                      "Write VALUE under KEY in MODULE's store before the pages load (repeatable). "
                      "MODULE is vendrel-studio, dev_hwup or mirel_wr_support; KEY ends at the "
                      "first '='. Escapes in KEY and VALUE: \\\\ \\n \\r \\t \\= \\xHH (any "
                      "byte)."),
              StudioOptions::tr("MODULE:KEY=VALUE")),
            O(QStringLiteral("settings"),
              StudioOptions::tr("Open the settings dialog on the Device page.")),
            O(QStringLiteral("restore-defaults"),
              StudioOptions::tr("Press Restore Defaults once the page is loaded (before --apply), "
                                "then quit.")),
            O(QStringLiteral("apply"),
              StudioOptions::tr("Press Apply once the page is loaded, then quit.")),
            O(QStringLiteral("dump"),
              StudioOptions::tr("Print every store as one JSON object and quit. Keys and values "
                                "that are not UTF-8 appear as {\"base64\": \"...\"} (a key as "
                                "that object's JSON text).")),
            O(QStringLiteral("screenshot"),
              StudioOptions::tr("Render the settings dialog to the PNG FILE and quit."), file),
            O(QStringLiteral("page-state"),
              StudioOptions::tr("Write the settings dialog's controls (texts, items, current "
                                "item, visible, enabled, editable) as JSON to FILE and quit."),
              file),
    });
}

// Options given twice: the last one wins, except --set, which adds up.
// False, with `message` set, when the option is given with an empty value.
bool lastValue(const QCommandLineParser &parser, const QString &name, const QString &emptyError,
               QString *value, QString *message)
{
    if (!parser.isSet(name))
        return true;
    *value = parser.values(name).last();
    if (value->isEmpty())
        *message = emptyError;
    return !value->isEmpty();
}

// The names people use for the device kinds, and the host's own names.
std::string kindName(const QString &name)
{
    if (name.compare(QLatin1String("Inertial"), Qt::CaseInsensitive) == 0)
        return "UNI";
    if (name.compare(QLatin1String("Hybrid"), Qt::CaseInsensitive) == 0)
        return "hybird";
    return name.toStdString();
}

} // namespace

bool StudioOptions::readFolders(const QCommandLineParser &parser, QString *message)
{
    return lastValue(parser, QStringLiteral("config"), tr("--config needs a folder"), &configDir,
                     message) &&
            lastValue(parser, QStringLiteral("plugins"), tr("--plugins needs a folder"), &pluginDir,
                      message);
}

bool StudioOptions::readDeviceKinds(const QCommandLineParser &parser, QString *message)
{
    if (!parser.isSet(QStringLiteral("device-kinds")))
        return true;
    deviceKinds.clear();
    const QString list = parser.values(QStringLiteral("device-kinds")).last();
    if (list.isEmpty())
        return true;
    for (const QString &name : list.split(QLatin1Char(','))) {
        if (name.trimmed().isEmpty()) {
            *message = tr("--device-kinds: empty name in “%1”").arg(list);
            return false;
        }
        deviceKinds.push_back(kindName(name.trimmed()));
    }
    return true;
}

bool StudioOptions::readLanguage(const QCommandLineParser &parser, QString *message)
{
    if (!parser.isSet(QStringLiteral("lang")))
        return true;
    language = parser.values(QStringLiteral("lang")).last();
    // The code becomes part of a file name: letters, digits, '_' and '-'.
    static const QRegularExpression codeSyntax(
            QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]+)*$"));
    if (codeSyntax.match(language).hasMatch())
        return true;
    *message = tr("--lang: “%1” is not a language code (e.g. de, pt_BR)").arg(language);
    return false;
}

bool StudioOptions::readAssignments(const QCommandLineParser &parser, QString *message)
{
    for (const QString &text : parser.values(QStringLiteral("set"))) {
        Assignment a;
        if (!parseAssignment(text, &a, message))
            return false;
        assignments.push_back(std::move(a));
    }
    return true;
}

bool StudioOptions::readActions(const QCommandLineParser &parser, QString *message)
{
    hyperFps = parser.isSet(QStringLiteral("hyper-fps"));
    deviceActive = parser.isSet(QStringLiteral("device-active"));
    openSettings = parser.isSet(QStringLiteral("settings"));
    restoreDefaults = parser.isSet(QStringLiteral("restore-defaults"));
    apply = parser.isSet(QStringLiteral("apply"));
    dump = parser.isSet(QStringLiteral("dump"));
    return lastValue(parser, QStringLiteral("screenshot"), tr("--screenshot needs a file name"),
                     &screenshotFile, message) &&
            lastValue(parser, QStringLiteral("page-state"), tr("--page-state needs a file name"),
                      &pageStateFile, message);
}

StudioOptions::Outcome StudioOptions::parse(const QStringList &arguments, QString *message)
{
    QCommandLineParser parser;
    declareOptions(parser);
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        *message = parser.helpText();
        return Outcome::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = tr("unexpected argument “%1”").arg(parser.positionalArguments().first());
        return Outcome::Error;
    }
    const bool valid = readFolders(parser, message) && readDeviceKinds(parser, message) &&
            readLanguage(parser, message) && readAssignments(parser, message) &&
            readActions(parser, message);
    return valid ? Outcome::Run : Outcome::Error;
}
