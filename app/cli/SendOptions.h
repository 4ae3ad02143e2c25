#pragma once

#include "app/core/Status.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of quillon2-send, checked for form only: whether the files
// exist and the number is valid is the sender's to find out.
struct SendOptions
{
    QString settingsFile;
    std::optional<int> relay;
    std::optional<QDateTime> sendAt;
    bool debug = false;
    QString multiFile;
    QString messageOut;
    bool verbose = false;
    QString numberText;
    QStringList documents;
    bool helpWanted = false;

    // args as QCoreApplication::arguments() gives them, program name first.
    static Result<SendOptions> parse(const QStringList& args);
    static QString helpText();
};
