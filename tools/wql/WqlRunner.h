#pragma once

#include "wmi/WMIConnection.h"

#include <QStringList>
#include <QTextStream>

class WMIObject;

// What wql does once its options are read: runs queries or asks MachineInfo,
// prints to `out`, reports errors to `err` and gives the exit status.
class WqlRunner
{
public:
    enum ExitStatus { Success = 0, Failure = 1 };

    WqlRunner(QTextStream &out, QTextStream &err, bool json);

    // Every row of every query, in order. A query that fails is reported
    // with its HRESULT and the others still run.
    int runQueries(const QStringList &queries);
    // The addresses with their MACs and the seven identity values.
    int printMachine();

private:
    void printRow(const WMIObject &row, int number);
    void printMachinePlain(const QMap<QString, QString> &addresses,
                           const QList<QPair<QString, QString>> &identity);
    void reportFailure(const QString &what, const WmiFailure &failure);

    QTextStream &out;
    QTextStream &err;
    bool json;
};
