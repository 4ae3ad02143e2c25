#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that work on real files.
namespace testfiles {
// Writes bytes to a file, creating its folder; fails the test on error.
void write(const QString& path, const QByteArray& bytes);
QByteArray read(const QString& path);
// Runs Debian's own python (with its modules, such as aiosmtpd).
QString systemPython();
} // namespace testfiles
