#pragma once

#include <QString>
#include <QStringList>

// The multi-address list: further fax numbers, one per line, each line
// possibly followed by a comment. A line counts when it begins with a digit;
// the whole line, comment included, is what travels to the gateway.
class MultiFaxList
{
public:
    enum class Verdict {
        Accepted, // two or more valid lines
        OnlyOne,  // a single number is no multi-address fax
        Empty,    // nothing valid left
    };

    struct Check
    {
        QStringList validLines;
        QStringList invalidLines;
        Verdict verdict = Verdict::Empty;
    };

    // Splits a list box text into its lines. A line break after the last line
    // does not start another (empty) line, so a list typed with a final Enter
    // is not reported as holding an invalid empty number.
    static QStringList linesOf(const QString& text);

    // Keeps the valid lines in their order and collects the others.
    static Check check(const QStringList& lines);

    // The removed lines as the report shows them: each followed by a carriage
    // return.
    static QString invalidLinesReport(const QStringList& invalidLines);
};
