#include "send/core/FaxNumber.h"

namespace {
// Only ASCII digits count: a gateway dials what it is given, and other
// scripts' digits would not reach it as a number.
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

QString ExtractFaxNumber(const QString& text)
{
    int length = 0;
    while (length < text.size() && isAsciiDigit(text.at(length)))
        ++length;
    return text.left(length);
}
