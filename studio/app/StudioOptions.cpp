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

StudioOptions::Outcome StudioOptions::parse(const QStringList &arguments, QString *message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
            tr("Stand-in studio host: loads the *.plg plug-ins and shows their settings pages."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption config(QStringLiteral("config"),
                                    tr("Keep the settings stores in DIR (default: %1).")
                                            .arg(QStringLiteral("~/.config/uis-studio")),
                                    tr("DIR"));
    const QCommandLineOption plugins(QStringLiteral("plugins"),
                                     tr("Load the *.plg plug-ins from DIR (default: beside the "
                                        "executable)."),
                                     tr("DIR"));
    const QCommandLineOption hyper(QStringLiteral("hyper-fps"),
                                   tr("Turn on the flag uis_dev.hyper_fps."));
    const QCommandLineOption kinds(QStringLiteral("device-kinds"),
                                   tr("Device kinds the host offers, comma-separated (default: "
                                      "UNI,hybird; empty: none)."),
                                   tr("LIST"));
    const QCommandLineOption active(QStringLiteral("device-active"),
                                    tr("Start with the current device connected."));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  tr("Load the plug-in's translation "
                                     "translations/uis_dev_CODE.qm."),
                                  tr("CODE"));
    const QCommandLineOption
            set(QStringLiteral("set"),
                tr("Write VALUE under KEY in MODULE's store before the pages load (repeatable). "
                   "MODULE is vendrel-studio, dev_hwup or mirel_wr_support; KEY ends at the first "
                   "'='. Escapes in KEY and VALUE: \\\\ \\n \\r \\t \\= \\xHH (any byte)."),
                tr("MODULE:KEY=VALUE"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      tr("Open the settings dialog on the Device page."));
    const QCommandLineOption restore(QStringLiteral("restore-defaults"),
                                     tr("Press Restore Defaults once the page is loaded (before "
                                        "--apply), then quit."));
    const QCommandLineOption applyOpt(QStringLiteral("apply"),
                                      tr("Press Apply once the page is loaded, then quit."));
    const QCommandLineOption dumpOpt(
            QStringLiteral("dump"),
            tr("Print every store as one JSON object and quit. Keys and values that are not "
               "UTF-8 appear as {\"base64\": \"...\"} (a key as that object's JSON text)."));
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  tr("Render the settings dialog to the PNG FILE and quit."),
                                  tr("FILE"));
    const QCommandLineOption state(QStringLiteral("page-state"),
                                   tr("Write the settings dialog's controls (texts, items, "
                                      "current item, visible, enabled, editable) as JSON to FILE "
                                      "and quit."),
                                   tr("FILE"));
    for (const QCommandLineOption &o : {config, plugins, hyper, kinds, active, lang, set, settings,
                                        restore, applyOpt, dumpOpt, shot, state})
        parser.addOption(o);

    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        return Outcome::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = tr("unexpected argument “%1”").arg(parser.positionalArguments().first());
        return Outcome::Error;
    }
    // Options given twice: the last one wins, except --set, which adds up.
    const auto last = [&](const QCommandLineOption &o) { return parser.values(o).last(); };
    if (parser.isSet(config)) {
        configDir = last(config);
        if (configDir.isEmpty()) {
            *message = tr("--config needs a folder");
            return Outcome::Error;
        }
    }
    if (parser.isSet(plugins)) {
        pluginDir = last(plugins);
        if (pluginDir.isEmpty()) {
            *message = tr("--plugins needs a folder");
            return Outcome::Error;
        }
    }
    hyperFps = parser.isSet(hyper);
    if (parser.isSet(kinds)) {
        deviceKinds.clear();
        const QString list = last(kinds);
        if (!list.isEmpty()) {
            for (const QString &name : list.split(QLatin1Char(','))) {
                if (name.trimmed().isEmpty()) {
                    *message = tr("--device-kinds: empty name in “%1”").arg(list);
                    return Outcome::Error;
                }
                deviceKinds.push_back(name.trimmed().toStdString());
            }
        }
    }
    deviceActive = parser.isSet(active);
    if (parser.isSet(lang)) {
        language = last(lang);
        // The code becomes part of a file name: letters, digits, '_' and '-'.
        static const QRegularExpression codeSyntax(
                QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]+)*$"));
        if (!codeSyntax.match(language).hasMatch()) {
            *message = tr("--lang: “%1” is not a language code (e.g. de, pt_BR)").arg(language);
            return Outcome::Error;
        }
    }
    for (const QString &text : parser.values(set)) {
        Assignment a;
        if (!parseAssignment(text, &a, message))
            return Outcome::Error;
        assignments.push_back(std::move(a));
    }
    openSettings = parser.isSet(settings);
    restoreDefaults = parser.isSet(restore);
    apply = parser.isSet(applyOpt);
    dump = parser.isSet(dumpOpt);
    if (parser.isSet(shot)) {
        screenshotFile = last(shot);
        if (screenshotFile.isEmpty()) {
            *message = tr("--screenshot needs a file name");
            return Outcome::Error;
        }
    }
    if (parser.isSet(state)) {
        pageStateFile = last(state);
        if (pageStateFile.isEmpty()) {
            *message = tr("--page-state needs a file name");
            return Outcome::Error;
        }
    }
    return Outcome::Run;
}
