#pragma once

#include "app/core/Status.h"

#include <QHostAddress>
#include <QList>
#include <QString>

// What the computer says about itself on the network: its name, its
// addresses and the names the name service gives them. Tests replace it to
// play other machines.
class HostIdentity
{
public:
    virtual ~HostIdentity() = default;

    virtual QString computerName() const;
    // The machine's own addresses, loopback left out, IPv4 first.
    virtual QList<QHostAddress> localAddresses() const;
    // The name the name service gives the address; empty when it has none.
    virtual QString reverseLookup(const QHostAddress& address) const;
};

// The name to greet the mail server with when a fully qualified one is
// required: the computer name when it has a dot, else the name of its first
// address when that has one, else that address as a literal ("[192.0.2.1]").
Result<QString> GetFullyQualifiedHostName(const HostIdentity& identity);

// The greeting name otherwise: the computer name, "localhost" when it is empty.
QString DefaultGreetingName(const HostIdentity& identity);
