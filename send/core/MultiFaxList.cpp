#include "send/core/MultiFaxList.h"

#include "send/core/FaxNumber.h"

#include <QRegularExpression>

namespace {
constexpr int kFewestNumbers = 2;

bool isValidLine(const QString& line)
{
    return !ExtractFaxNumber(line).isEmpty();
}
} // namespace

QStringList MultiFaxList::linesOf(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

MultiFaxList::Check MultiFaxList::check(const QStringList& lines)
{
    Check result;
    for (const QString& line : lines) {
        if (isValidLine(line))
            result.validLines << line;
        else
            result.invalidLines << line;
    }
    if (result.validLines.size() >= kFewestNumbers)
        result.verdict = Verdict::Accepted;
    else if (result.validLines.size() == 1)
        result.verdict = Verdict::OnlyOne;
    else
        result.verdict = Verdict::Empty;
    return result;
}

QString MultiFaxList::invalidLinesReport(const QStringList& invalidLines)
{
    QString report;
    for (const QString& line : invalidLines)
        report += line + QLatin1Char('\r');
    return report;
}
