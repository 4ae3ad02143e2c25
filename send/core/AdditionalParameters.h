#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

// What the additional parameters dialog sets for the next requests: a wanted
// send time, a debug report and the multi-address list. The dialog keeps it
// from one send to the next; a request takes a copy when it is composed.
struct AdditionalParameters
{
    std::optional<QDateTime> sendDateTime;
    bool debug = false;
    bool multiFax = false;
    // The further numbers, one per line, comments included.
    QStringList multiFaxNumbers;
};
