#pragma once

#include <memory>
#include <QMap>
#include <QRegExp>
#include <QString>

class WMIConnection;

// IPv4 link-local addresses (169.254.x.y), which the hardware cannot be
// reached on.
extern const QRegExp kLinkLocalPattern;

// The plug-in's window on the local machine. Connects to the local WMI
// namespace when made and closes when destroyed, so make one per load; each
// question runs its queries afresh. Use it on one thread only.
class MachineInfo
{
public:
    MachineInfo();
    ~MachineInfo();
    MachineInfo(const MachineInfo &) = delete;
    MachineInfo &operator=(const MachineInfo &) = delete;

    // Address text -> MAC address text of the connected physical adapters,
    // link-local addresses left out, in text order of the addresses.
    QMap<QString, QString> localIpAddresses() const;

    // Identity of the machine; each gives the empty text when WMI has no
    // answer.
    QString biosSerialNumber() const;
    QString baseBoardSerialNumber() const;
    QString processorId() const;
    QString processorName() const;
    static QString systemLocaleName();
    QString computerName() const;
    QString timeZoneCaption() const;

private:
    // The text of `property` in the first row of `wql`, or the empty text.
    QString firstRowText(const QString &wql, const QString &property) const;

    std::unique_ptr<WMIConnection> connection;
};
