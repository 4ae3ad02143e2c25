#pragma once

#include "app/core/Status.h"

#include <QByteArray>
#include <QString>

// The client's side of the command protocol: a start that finds the command
// server's port taken hands its document to the running instance and ends.
class FileHandOff
{
public:
    static constexpr int kConnectTimeoutMs = 500;
    static constexpr int kReplyTimeoutMs = 2000;

    // Who listens on the loopback port.
    enum class ServerOwner { CurrentUser, OtherUser, Unknown };
    static ServerOwner OwnerOfServer(quint16 port);

    // The line that hands a path over: open, TAB, the path in double quotes
    // (a quote inside doubled), CR LF.
    static QByteArray OpenCommand(const QString& path);

    // Connects to 127.0.0.1 at the port, sends the open command and waits for
    // one line of reply (not having one in time is no failure). Blocks for at
    // most the two limits above: a start that hands over has nothing else to do.
    static Status HandOver(const QString& path, quint16 port);
};
