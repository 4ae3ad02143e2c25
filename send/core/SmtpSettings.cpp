#include "send/core/SmtpSettings.h"

#include "settings/core/TIni.h"

int SmtpSettings::connectionPort() const
{
    if (!requireSsl)
        return port;
    return sslPort == kDefaultSslPort ? kDefaultPort : sslPort;
}

SmtpSettings SmtpSettings::fromIni(const TIni& ini)
{
    SmtpSettings settings;
    settings.host = ini.EMailServer;
    settings.port = ini.EMailServerPort;
    settings.sslPort = ini.EMailServerSSLPort;
    settings.requireSsl = ini.EMailServerRequreSSL;
    settings.requireFqn = ini.EMailServerRequreFQN;
    settings.auth = ini.EMailAuth;
    settings.user = ini.EMailName;
    settings.password = ini.EMailPass;
    settings.verifySsl = ini.EMailServerVerifySSL;
    return settings;
}
