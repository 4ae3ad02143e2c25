#include "send/core/TMapiControl.h"

#include "send/core/XdgEmailClient.h"

#include <QFileInfo>

TMapiControl::TMapiControl(QObject* parent)
    : TMapiControl(std::make_unique<XdgEmailClient>(), parent)
{
}

TMapiControl::TMapiControl(std::unique_ptr<MailClient> client, QObject* parent)
    : QObject(parent), m_client(std::move(client))
{
    connect(m_client.get(), &MailClient::handedOver, this, &TMapiControl::OnSuccess);
    connect(m_client.get(), &MailClient::userAborted, this, &TMapiControl::OnUserAbort);
    connect(m_client.get(), &MailClient::failed, this, &TMapiControl::OnMapiError);
}

TMapiControl::~TMapiControl() = default;

void TMapiControl::Reset()
{
    m_subject.clear();
    m_body.clear();
    m_fromName.clear();
    m_fromAdress.clear();
    m_recipients.clear();
    m_copyTo.clear();
    m_blindCopyTo.clear();
    m_attachedFiles.clear();
    m_displayFileName.clear();
}

MailClientMessage TMapiControl::message() const
{
    MailClientMessage message;
    message.subject = m_subject;
    message.body = m_body;
    message.fromName = m_fromName;
    message.fromAddress = m_fromAdress;
    message.to = m_recipients;
    message.cc = m_copyTo;
    message.bcc = m_blindCopyTo;
    message.attachmentPaths = m_attachedFiles;
    message.showDialog = m_showDialog;
    return message;
}

void TMapiControl::SendMail()
{
    m_displayFileName.clear();
    for (const QString& path : m_attachedFiles)
        m_displayFileName << QFileInfo(path).fileName();
    m_client->send(message());
}
