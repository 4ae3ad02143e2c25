#pragma once

#include "send/core/MailClient.h"

#include <QProcessEnvironment>
#include <QString>

// The mail hand-off of a freedesktop.org desktop: xdg-email (xdg-utils) turns
// the message into a mailto: address and passes it to whichever mail program
// the desktop names for mailto links, which opens its compose window filled
// in: To, Cc and Bcc recipients, subject, text and the attached files by path.
//
// What xdg-email cannot carry, and what is therefore lost on this desktop:
// - the originator's name and address: the mail program sends from the
//   account the user has set up in it;
// - a send without a compose window: the compose window always opens, so the
//   user always sends (or discards) the message himself;
// - a parent window for the mail program's windows;
// - a cancelled compose window: xdg-email ends as soon as the desktop has
//   taken the address, so userAborted() is never raised here.
class XdgEmailClient : public MailClient
{
    Q_OBJECT

public:
    static constexpr char kDefaultProgram[] = "xdg-email";
    // Reported through failed() when the program cannot be started at all, as
    // a shell would report a command it cannot find.
    static constexpr int kProgramNotStarted = 127;
    // Reported through failed() when the program ended abnormally.
    static constexpr int kProgramCrashed = 128;

    // program and environment let a caller point the hand-off at another
    // xdg-email or another desktop configuration.
    explicit XdgEmailClient(
        QObject* parent = nullptr, QString program = QString::fromLatin1(kDefaultProgram),
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    void send(const MailClientMessage& message) override;

    // The command line for a message, without the program's name.
    static QStringList argumentsFor(const MailClientMessage& message);

private:
    QString m_program;
    QProcessEnvironment m_environment;
};
