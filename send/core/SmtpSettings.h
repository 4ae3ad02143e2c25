#pragma once

#include <QString>

class TIni;

// How the internal relay reaches the mail server: a plain copy of the
// e-mail settings, so the SMTP client does not depend on the settings object.
struct SmtpSettings
{
    static constexpr int kDefaultPort = 25;
    static constexpr int kDefaultSslPort = 465;

    QString host;
    int port = kDefaultPort;
    int sslPort = kDefaultSslPort;
    // Secure the connection with STARTTLS when the server offers it.
    bool requireSsl = false;
    // Greet with the computer's fully qualified name.
    bool requireFqn = false;
    // Log in with AUTH LOGIN when the server offers it and a user is set.
    bool auth = false;
    QString user;
    QString password;
    // Check the server's certificate against the system's trusted ones.
    bool verifySsl = true;

    // The SSL port when TLS is wanted, else the regular one. TLS comes only
    // from STARTTLS on a plain connection, so the SSL-only port 465 is
    // replaced by the regular SMTP port.
    int connectionPort() const;

    // The e-mail keys of the settings object.
    static SmtpSettings fromIni(const TIni& ini);
};
