#pragma once

#include "send/core/AdditionalParameters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class TIni;

// One fax request to the gateway, as plain values. Every send attempt builds a
// fresh one, so a retry never carries recipients, attachments or parameters
// left over from an earlier attempt.
class FaxRequest
{
public:
    struct Parameter
    {
        QString name;
        QString value;
    };

    struct Attachment
    {
        QString name;
        // A file on disk, read when the message is rendered ...
        QString path;
        // ... or, when path is empty, these bytes.
        QByteArray data;
    };

    // What a request is made of, gathered by the sender from the settings,
    // the number box, the fax image and the additional parameters.
    struct Source
    {
        QString numberText;
        QString faxImagePath;
        QString cardName;
        QString cardPasswordHash;
        int passMode = 1;
        QString replyAddress;
        quint16 languageId = 0;
        AdditionalParameters additional;

        // The account data, reply address and language of the settings.
        static Source fromIni(const TIni& ini);
    };

    // A fresh request to the gateway: the program's version, the X-Password
    // value for this fax image, everything else as the source has it.
    static FaxRequest compose(const Source& source);

    // Name of the multi-address list attachment in the MIME renderings.
    static constexpr char kMultiFaxAttachmentName[] = "multyfax_numbers.txt";

    QStringList recipients;
    // Reply address: From, Sender and the envelope sender.
    QString fromAddress;
    // The whole text of the number box, comment included.
    QString subject;
    // The fax image; its name part is X-FaxFile and the attachment's name.
    QString faxImagePath;

    QString cardName;
    QString passwordValue;
    // Windows language identifier of the interface language (1033, 1049 ...).
    quint16 languageId = 0;
    QString version;
    int passMode = 1;
    AdditionalParameters additional;

    QString faxFileName() const;
    // "$" and four upper-case hexadecimal digits.
    QString languageIdText() const;
    // "dd.mm.yyyy hh:nn:ss", empty without a wanted send time.
    QString sendDateTimeText() const;
    // The list as the list box holds it: lines joined by CR LF, no line break
    // after the last one, in the message's character set.
    QByteArray multiFaxListBytes() const;

    // The parameters of the header and body renderings in their fixed order,
    // leaving out those whose value is empty.
    std::vector<Parameter> mimeParameters() const;
    // Fax image, then the list in multi-address mode.
    std::vector<Attachment> attachments() const;

    // The text handed to the user's mail client: the notice, then every
    // parameter as "name=value" (empty values included), X-MultyFax last with
    // the path of the list file. No line break at the end.
    QString mailClientText(const QString& notice, const QString& multiFaxListPath) const;
};
