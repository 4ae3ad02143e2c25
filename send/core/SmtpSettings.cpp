#include "send/core/SmtpSettings.h"

int SmtpSettings::connectionPort() const
{
    if (!requireSsl)
        return port;
    return sslPort == kDefaultSslPort ? kDefaultPort : sslPort;
}
