#pragma once

#include <QString>
#include <QStringList>

#include <tiffio.h>

// Collects what libtiff has to say about one file while it is read or
// written, so that the message reaches the user inside the Status of the
// operation instead of libtiff's default print to standard error.
//
// Handles opened with options() report to this object directly. For the few
// paths inside libtiff that still use the process-wide handlers, those are
// replaced once by handlers that forward to the capture active on the calling
// thread (captures nest; the innermost one hears), and that stay silent when
// none is active.
class TiffMessageCapture
{
public:
    TiffMessageCapture();
    ~TiffMessageCapture();
    TiffMessageCapture(const TiffMessageCapture&) = delete;
    TiffMessageCapture& operator=(const TiffMessageCapture&) = delete;

    // Options for TIFFOpenExt that route this handle's messages here.
    TIFFOpenOptions* options() const { return m_options; }

    bool hasErrors() const { return !m_errors.isEmpty(); }
    const QStringList& errors() const { return m_errors; }
    const QStringList& warnings() const { return m_warnings; }
    // The errors as one line, "" when there were none.
    QString errorText() const;

    void addError(const char* module, const char* format, va_list arguments);
    void addWarning(const char* module, const char* format, va_list arguments);

private:
    TIFFOpenOptions* m_options = nullptr;
    TiffMessageCapture* m_outer = nullptr;
    QStringList m_errors;
    QStringList m_warnings;
};
