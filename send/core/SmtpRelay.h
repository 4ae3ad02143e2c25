#pragma once

#include "app/core/Status.h"
#include "send/core/FaxRequest.h"
#include "send/core/HostIdentity.h"
#include "send/core/SmtpClient.h"

#include <QObject>

// The internal relay: writes the request in its header rendering and hands it
// to the mail server. Both the editor's send command and the command-line
// sender go through it.
class SmtpRelay : public QObject
{
    Q_OBJECT

public:
    explicit SmtpRelay(QObject* parent = nullptr);

    // Tests shorten the time a stalled server is given.
    SmtpClient& client() { return m_client; }

    // The bytes the relay sends after DATA (before dot-stuffing).
    static Result<QByteArray> renderMessage(const FaxRequest& request);

    // Works out the greeting name and renders the message; a failure there is
    // returned and nothing is sent. Otherwise the exchange starts and ends
    // with finished().
    Status start(const SmtpSettings& settings, const HostIdentity& identity,
                 const FaxRequest& request);

signals:
    void statusChanged(const QString& text);
    void finished(bool ok, const QString& errorText);

private:
    SmtpClient m_client;
};
