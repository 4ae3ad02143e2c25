#include "tests/send/MessageParser.h"

#include "tests/support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

namespace messageparser {

QJsonObject parse(const QByteArray& message)
{
    QProcess python;
    python.start(testfiles::systemPython(),
                 {QStringLiteral(QUILLON_SOURCE_DIR "/tests/send/parse_message.py")});
    EXPECT_TRUE(python.waitForStarted());
    python.write(message);
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished(30000));
    const QByteArray errors = python.readAllStandardError();
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QStringList headerNames(const QJsonObject& parsed)
{
    QStringList names;
    for (const QJsonValue& field : parsed.value("headers").toArray())
        names << field.toArray().at(0).toString();
    return names;
}

namespace {
QString field(const QJsonObject& parsed, const QString& name, int index)
{
    for (const QJsonValue& field : parsed.value("headers").toArray()) {
        if (field.toArray().at(0).toString().compare(name, Qt::CaseInsensitive) == 0)
            return field.toArray().at(index).toString();
    }
    return {};
}
} // namespace

QString header(const QJsonObject& parsed, const QString& name)
{
    return field(parsed, name, 2);
}

QString rawHeader(const QJsonObject& parsed, const QString& name)
{
    return field(parsed, name, 1);
}

QByteArray partBytes(const QJsonObject& part)
{
    return QByteArray::fromBase64(part.value("payload").toString().toLatin1());
}

} // namespace messageparser
