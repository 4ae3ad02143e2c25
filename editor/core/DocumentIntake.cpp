#include "editor/core/DocumentIntake.h"

QString DocumentIntake::SpoolFolder()
{
    return {};
}

bool DocumentIntake::IsTakeOverFolder(const QString&)
{
    return false;
}

QString DocumentIntake::TimeStamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyyMMddhhmmsszzz"));
}

QString DocumentIntake::FaxNumberComment(const QString&)
{
    return {};
}

QString DocumentIntake::UniqueWorkingName(const QString&, const QString&, const QDateTime&)
{
    return {};
}

IntakeDocument DocumentIntake::TakeOver(const QString&, const QDateTime&)
{
    return {};
}

IntakeDocument DocumentIntake::NewDocument(const QDateTime&)
{
    IntakeDocument document;
    document.isNew = true;
    return document;
}

Page DocumentIntake::BlankPage()
{
    return Page::blank(QSize(kBlankPageWidth, kBlankPageHeight));
}

Result<std::vector<Page>> DocumentIntake::ReadDocument(const IntakeDocument&)
{
    return std::vector<Page>{};
}
