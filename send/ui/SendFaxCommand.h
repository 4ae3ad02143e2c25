#pragma once

#include "send/core/HostIdentity.h"
#include "send/core/SmtpRelay.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class FileOpener;
class LocalizedConstants;
class TMapiControl;
class SendFaxHost;
class TFaxSendProgressForm;

// Send Fax (acSendFaxExecute): checks the number and the pages, writes the
// fax image, composes the request and hands it to the relay the settings
// name. The SMTP exchange and the wait after it run on the event loop, so
// the program's other windows stay usable meanwhile; completed() tells when
// a send has ended one way or the other.
class SendFaxCommand : public QObject
{
    Q_OBJECT

public:
    // Values of "EMailSendMethod".
    enum Relay { RelayMailClient = 0, RelayInternal = 1, RelayMessageFile = 2 };

    // After a hand-over the window stays a moment so the user can read the
    // last status lines.
    static constexpr int kSuccessWaitMs = 3100;

    // progress may be null (no progress window); it is shared by all editors
    // and owned by whoever made it.
    SendFaxCommand(SendFaxHost& host, const LocalizedConstants& texts,
                   TFaxSendProgressForm* progress, QObject* parent = nullptr);
    ~SendFaxCommand() override;

    void setSuccessWait(int milliseconds) { m_successWait.setInterval(milliseconds); }
    void setHostIdentity(std::unique_ptr<HostIdentity> identity);
    // How the message file is opened (the desktop's program for e-mail files).
    void setFileOpener(std::unique_ptr<FileOpener> opener);
    // Makes the control that hands a request to the user's mail program.
    void setMailControlFactory(std::function<std::unique_ptr<TMapiControl>()> factory);
    // The hand-off to the mail program may outlast the editor window; its
    // control lives under this object (the application by default).
    void setMailHandOffOwner(QObject* owner) { m_handOffOwner = owner; }
    SmtpRelay& relay() { return m_relay; }
    // True from the hand-over until completed().
    bool isRunning() const { return m_running; }

    void acSendFaxExecute();

signals:
    // The end of a send that reached a relay: sent after the success path,
    // !sent after the failure path. Checks that stop the command earlier
    // end it without this signal.
    void completed(bool sent);

private:
    bool checkFaxNumber(const AdditionalParameters& additional);
    bool writeFaxImage();
    FaxRequest composeRequest(const AdditionalParameters& additional);
    void startInternalRelay(const AdditionalParameters& additional);
    void runMessageFileRelay(const AdditionalParameters& additional);
    void runMailClientRelay(const AdditionalParameters& additional);
    void beginSuccessPath();
    void failBeforeExchange(const QString& errorText);
    void onRelayFinished(bool ok, const QString& errorText);
    void finishSuccess();
    void failSend(const QString& errorText);
    void hideProgress();

    SendFaxHost& m_host;
    const LocalizedConstants& m_texts;
    QPointer<TFaxSendProgressForm> m_progress;
    std::unique_ptr<HostIdentity> m_identity;
    std::unique_ptr<FileOpener> m_fileOpener;
    std::function<std::unique_ptr<TMapiControl>()> m_mailControlFactory;
    QPointer<QObject> m_handOffOwner;
    SmtpRelay m_relay;
    QTimer m_successWait;
    bool m_running = false;
};
