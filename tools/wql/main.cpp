// wql: runs WQL queries in the local WMI namespace through the plug-in's own
// client and prints every row, or prints what MachineInfo answers.
#include "wql/WqlRunner.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

enum { UsageError = 2 };

int usageError(QTextStream &err, const QString &message)
{
    err << "wql: " << message << "\nTry 'wql --help' for more information.\n";
    return UsageError;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wql"));

    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Runs WQL queries in the local WMI namespace \\root\\cimv2 and prints every row,\n"
            "or, with --machine, the local addresses and identity values the plug-in sees.\n"
            "Exit status: 0 on success, 1 when WMI reports an error, 2 for bad options."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption
            jsonOption(QStringLiteral("json"),
                       QStringLiteral(
                               "Print one JSON object per row: property name -> {type, value}."));
    const QCommandLineOption machineOption(
            QStringLiteral("machine"),
            QStringLiteral("Print the local addresses with their MACs and the machine identity."));
    parser.addOption(jsonOption);
    parser.addOption(machineOption);
    parser.addPositionalArgument(QStringLiteral("QUERY"),
                                 QStringLiteral("WQL queries to run, in order."), "[QUERY...]");

    // parse() rather than process(): process() exits with 1 on a bad option,
    // and bad options exit with 2 here.
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(err, parser.errorText());
    if (parser.isSet(helpOption))
        parser.showHelp(0);

    const QStringList queries = parser.positionalArguments();
    const bool machine = parser.isSet(machineOption);
    if (machine && !queries.isEmpty())
        return usageError(err, QStringLiteral("--machine takes no query"));
    if (!machine && queries.isEmpty())
        return usageError(err, QStringLiteral("no query given"));
    for (const QString &query : queries) {
        if (query.trimmed().isEmpty())
            return usageError(err, QStringLiteral("empty query"));
    }

    WqlRunner runner(out, err, parser.isSet(jsonOption));
    return machine ? runner.printMachine() : runner.runQueries(queries);
}
