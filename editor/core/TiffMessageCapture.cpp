#include "editor/core/TiffMessageCapture.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

// Enough for any libtiff message; longer ones are cut.
constexpr int kMessageBufferSize = 1024;
// libtiff repeats messages for every strip of a damaged page; a few say it all.
constexpr int kMaxKeptMessages = 3;

// The capture that hears process-wide messages raised on this thread.
thread_local TiffMessageCapture* t_activeCapture = nullptr;

QString formatMessage(const char* module, const char* format, va_list arguments)
{
    char buffer[kMessageBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    const QString text = QString::fromLocal8Bit(buffer).trimmed();
    if (module == nullptr || *module == '\0')
        return text;
    return QString::fromLocal8Bit(module) + QStringLiteral(": ") + text;
}

void forwardError(thandle_t, const char* module, const char* format, va_list arguments)
{
    if (t_activeCapture != nullptr)
        t_activeCapture->addError(module, format, arguments);
}

void forwardWarning(thandle_t, const char* module, const char* format, va_list arguments)
{
    if (t_activeCapture != nullptr)
        t_activeCapture->addWarning(module, format, arguments);
}

int handleError(TIFF*, void* capture, const char* module, const char* format, va_list arguments)
{
    static_cast<TiffMessageCapture*>(capture)->addError(module, format, arguments);
    return 1; // handled: do not pass it on to the process-wide handler
}

int handleWarning(TIFF*, void* capture, const char* module, const char* format, va_list arguments)
{
    static_cast<TiffMessageCapture*>(capture)->addWarning(module, format, arguments);
    return 1;
}

void installProcessWideHandlers()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        TIFFSetErrorHandlerExt(forwardError);
        TIFFSetWarningHandlerExt(forwardWarning);
    });
}

} // namespace

TiffMessageCapture::TiffMessageCapture()
    : m_options(TIFFOpenOptionsAlloc()), m_outer(t_activeCapture)
{
    installProcessWideHandlers();
    TIFFOpenOptionsSetErrorHandlerExtR(m_options, handleError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(m_options, handleWarning, this);
    t_activeCapture = this;
}

TiffMessageCapture::~TiffMessageCapture()
{
    t_activeCapture = m_outer;
    TIFFOpenOptionsFree(m_options);
}

QString TiffMessageCapture::errorText() const
{
    return m_errors.join(QStringLiteral("; "));
}

void TiffMessageCapture::addError(const char* module, const char* format, va_list arguments)
{
    if (m_errors.size() < kMaxKeptMessages)
        m_errors.append(formatMessage(module, format, arguments));
}

void TiffMessageCapture::addWarning(const char* module, const char* format, va_list arguments)
{
    if (m_warnings.size() < kMaxKeptMessages)
        m_warnings.append(formatMessage(module, format, arguments));
}
