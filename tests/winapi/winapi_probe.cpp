// Runs one WQL query (or, for any text not starting with SELECT, fetches one
// object path) against the local machine and prints each row on one line:
// "Name=value" pairs separated by tabs, values as describe() gives them.
// Exit status 0, or 2 with the HRESULT when the call fails.
#include "WinapiTestSupport.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: winapi_probe <WQL query>\n";
        return 1;
    }
    QTextStream out(stdout);
    int status = 0;
    {
        Session session;
        if (!session.services) {
            QTextStream(stderr) << "cannot connect\n";
            return 3;
        }
        QList<QStringList> rows;
        const QString &text = arguments.at(1);
        const HRESULT hr = text.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive)
                ? session.query(text, &rows)
                : session.object(text, &rows);
        if (FAILED(hr)) {
            out << "hr=" << hex(hr) << '\n';
            status = 2;
        }
        for (const QStringList &row : rows)
            out << row.join(QLatin1Char('\t')) << '\n';
    }
    return status;
}
