#include "send/core/SmtpRelay.h"

#include "send/core/MimeComposer.h"

#include <QDateTime>

SmtpRelay::SmtpRelay(QObject* parent) : QObject(parent)
{
    connect(&m_client, &SmtpClient::statusChanged, this, &SmtpRelay::statusChanged);
    connect(&m_client, &SmtpClient::finished, this, &SmtpRelay::finished);
}

Result<QByteArray> SmtpRelay::renderMessage(const FaxRequest& request)
{
    return MimeComposer::headerRendering(request, QDateTime::currentDateTime());
}

Status SmtpRelay::start(const SmtpSettings& settings, const HostIdentity& identity,
                        const FaxRequest& request)
{
    QString greetingName = DefaultGreetingName(identity);
    if (settings.requireFqn) {
        const Result<QString> name = GetFullyQualifiedHostName(identity);
        if (!name.ok())
            return name.status();
        greetingName = name.value();
    }
    Result<QByteArray> message = renderMessage(request);
    if (!message.ok())
        return message.status();
    m_client.send(settings, greetingName,
                  {request.fromAddress, request.recipients, std::move(message).value()});
    return Status::success();
}
