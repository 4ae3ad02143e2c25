#include "send/core/HostIdentity.h"

#include <QHostInfo>
#include <QNetworkInterface>

#include <algorithm>

QString HostIdentity::computerName() const
{
    return QHostInfo::localHostName();
}

QList<QHostAddress> HostIdentity::localAddresses() const
{
    QList<QHostAddress> addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (!address.isLoopback() && !address.isLinkLocal())
            addresses << address;
    }
    std::stable_partition(addresses.begin(), addresses.end(), [](const QHostAddress& address) {
        return address.protocol() == QAbstractSocket::IPv4Protocol;
    });
    return addresses;
}

QString HostIdentity::reverseLookup(const QHostAddress& address) const
{
    // One short lookup before the connection is made; the name service
    // answers with the address text itself when it knows no name.
    const QHostInfo info = QHostInfo::fromName(address.toString());
    if (info.error() != QHostInfo::NoError || info.hostName() == address.toString())
        return {};
    return info.hostName();
}

Result<QString> GetFullyQualifiedHostName(const HostIdentity& identity)
{
    const QString name = identity.computerName();
    if (name.contains(QLatin1Char('.')))
        return name;
    const QList<QHostAddress> addresses = identity.localAddresses();
    if (addresses.isEmpty())
        return Status::failure(QStringLiteral(
            "This computer has no network address to introduce itself to the mail server."));
    const QHostAddress& first = addresses.first();
    const QString lookedUp = identity.reverseLookup(first);
    if (lookedUp.contains(QLatin1Char('.')))
        return lookedUp;
    if (first.protocol() == QAbstractSocket::IPv6Protocol)
        return QStringLiteral("[IPv6:%1]").arg(first.toString());
    return QStringLiteral("[%1]").arg(first.toString());
}

QString DefaultGreetingName(const HostIdentity& identity)
{
    const QString name = identity.computerName();
    return name.isEmpty() ? QStringLiteral("localhost") : name;
}
