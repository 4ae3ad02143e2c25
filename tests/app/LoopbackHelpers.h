#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Helpers for the tests of the command protocol over the real loopback.
namespace loopback {
// A port that was free a moment ago, so that test programs running side by
// side never share one.
quint16 freePort();
// Whether nothing listens on the loopback at that port right now.
bool portIsFree(quint16 port);

// The uid and gid a client of "another user" runs as.
constexpr unsigned int kOtherUid = 65534;

// Why this process cannot start programs as another user, or empty when it
// can (it must be root and have setpriv).
QString whyNoOtherUser();

// Runs Debian's python as another user (or as ourselves when asUser is
// false): it connects to 127.0.0.1 at the port, reads the first line, sends
// the line given, and prints everything the server sent until it closes.
QByteArray talkAs(bool asOtherUser, quint16 port, const QByteArray& line);
} // namespace loopback
