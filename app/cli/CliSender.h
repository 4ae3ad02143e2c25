#pragma once

#include "app/cli/SendOptions.h"
#include "i18n/core/LocalizedConstants.h"
#include "send/core/HostIdentity.h"
#include "send/core/SmtpRelay.h"
#include "settings/core/TIni.h"

#include <QObject>

// The sending path without a window: documents in, fax image, request, relay.
// start() begins the work; done() hands back the exit status.
class CliSender : public QObject
{
    Q_OBJECT

public:
    static constexpr int kExitHandedOver = 0;
    static constexpr int kExitUsage = 2;
    static constexpr int kExitRelayFailed = 3;

    explicit CliSender(SendOptions options, QObject* parent = nullptr);

    void start();

signals:
    void done(int exitCode);

private:
    Status prepare();
    Status readMultiAddressList(AdditionalParameters& additional) const;
    Status writeFaxImage();
    Status writeMessage(const FaxRequest& request);
    Status handToMailProgram(const FaxRequest& request);
    Status saveAndOpenMessageFile(const FaxRequest& request);
    void onRelayFinished(bool ok, const QString& errorText);
    void end(int exitCode, const QString& errorLine = {});

    SendOptions m_options;
    LocalizedConstants m_texts;
    TIni m_ini;
    QString m_settingsFile;
    QString m_faxImagePath;
    HostIdentity m_identity;
    SmtpRelay m_relay;
};
