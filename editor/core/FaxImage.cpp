#include "editor/core/FaxImage.h"

#include "editor/core/BilevelPacker.h"
#include "editor/core/DocumentReader.h"
#include "editor/core/G4PageEncoder.h"
#include "editor/core/Group4Layout.h"
#include "editor/core/LayerStack.h"
#include "editor/core/PageList.h"
#include "editor/core/ParallelWork.h"
#include "editor/core/TiffHandle.h"
#include "editor/core/TiffMessageCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// TIFF's PageNumber tag holds 16-bit numbers.
constexpr size_t kMaxPages = std::numeric_limits<uint16_t>::max();
const QString kTemporarySuffix = QStringLiteral(".XXXXXX.part");

QString tr(const char* text)
{
    return QCoreApplication::translate("FaxImage", text);
}

QString failureText(const QString& path, const QString& reason)
{
    return tr("Cannot write the fax image \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString withLibraryDetail(const QString& reason, const TiffMessageCapture& capture)
{
    if (!capture.hasErrors())
        return reason;
    return reason + QStringLiteral(" (") + capture.errorText() + QLatin1Char(')');
}

int scaledLength(int length, int fromDpi, int toDpi)
{
    return qMax(1, static_cast<int>(std::lround(static_cast<double>(length) * toDpi / fromDpi)));
}

// The grey level below which a resampled 1-bit pixel is black. Reducing
// spreads a one-pixel stroke over neighbouring pixels as light grey, so the
// more a page shrinks the lighter the grey that still counts as ink; the
// paper itself stays pure white and never crosses it.
int inkThreshold(double scale)
{
    constexpr double kLightestInk = 0.9;
    if (scale >= 1.0)
        return BilevelPacker::kMiddleGrey;
    const double lightness = qMin(kLightestInk, 1.0 - scale / 3.0);
    return qMax(BilevelPacker::kMiddleGrey, static_cast<int>(lightness * 255.0));
}

// The page at another resolution, same physical size, same pixel format. A
// 1-bit page is scaled in grey and thresholded again, so that thin strokes
// survive a reduction.
QImage resample(const QImage& image, QSize size)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: {
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8)
                                .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double scale = qMin(static_cast<double>(size.width()) / image.width(),
                                  static_cast<double>(size.height()) / image.height());
        return BilevelPacker::toMonoImage(grey, BilevelPacker::TwoColours::Threshold,
                                          inkThreshold(scale));
    }
    case QImage::Format_Indexed8:
        // Smoothing would make colours the palette does not have.
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    default:
        return ConvertToPixelFormat(
            image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), image.format());
    }
}

// The page's size at the output resolution, or an invalid size when the page
// is to keep its resolution: a page that claims an absurdly low resolution
// (a picture with broken metadata) would otherwise grow beyond any page.
QSize outputSize(const Page& page, int outputDpi)
{
    const PageParameters& parameters = page.parameters();
    if (page.isNull() || parameters.dpiX <= 0 || parameters.dpiY <= 0)
        return {};
    const QSize size(scaledLength(page.width(), parameters.dpiX, outputDpi),
                     scaledLength(page.height(), parameters.dpiY, outputDpi));
    if (static_cast<qint64>(size.width()) * size.height() > DocumentReader::kMaxPagePixels)
        return {};
    return size;
}

void applyToPage(Page& page, const FaxImageOptions& options)
{
    PageParameters parameters = std::as_const(page).parameters();
    const bool otherResolution =
        parameters.dpiX != options.outputDpi || parameters.dpiY != options.outputDpi;
    // A page whose stored strips cannot be decoded stays as it is; writing
    // it refuses it with the reason.
    if (options.changeOutputDpi && options.outputDpi > 0 && otherResolution && page.decode().ok()) {
        const QSize size = outputSize(page, options.outputDpi);
        if (size.isValid()) {
            page = Page(resample(page.image(), size), parameters);
            parameters.dpiX = options.outputDpi;
            parameters.dpiY = options.outputDpi;
        }
    }
    parameters.compression = PageParameters::kCompressionCcittG4;
    parameters.bitsPerSample = 1;
    parameters.samplesPerPixel = 1;
    parameters.photometric = PageParameters::kPhotometricMinIsWhite;
    page.setParameters(std::move(parameters));
}

bool setPageTags(TIFF* tiff, const Page& page, uint32_t rowsPerStrip, uint16_t index,
                 uint16_t count)
{
    const PageParameters& p = page.parameters();
    return TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) == 1 &&
           SetGroup4Layout(tiff, static_cast<uint32_t>(page.width()),
                           static_cast<uint32_t>(page.height()), rowsPerStrip) &&
           TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
           TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(p.dpiX)) == 1 &&
           TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(p.dpiY)) == 1 &&
           TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) == 1 &&
           TIFFSetField(tiff, TIFFTAG_PAGENUMBER, index, count) == 1;
}

// What goes into one page's directory: the strips of Group 4 data and the
// rows each of them holds.
struct PageStrips
{
    std::vector<QByteArray> strips;
    uint32_t rowsPerStrip = 0;
};

// A page still showing the strips it was read from takes them as they are;
// they were decoded once (when read, or here if not yet) so that damaged data
// is refused rather than sent, and strips the decoder had to patch up (rows
// cut short) are encoded afresh from what the page shows. Any other page is
// encoded into one strip.
Result<PageStrips> stripsOf(const Page& page)
{
    if (const EncodedStrips* stored = page.encodedStrips()) {
        const Status decodable = page.decode();
        if (!decodable.ok())
            return Status::failure(tr("the page data is damaged (%1).").arg(decodable.text()));
        if (page.encodedStripsAreSound())
            return PageStrips{stored->strips(), static_cast<uint32_t>(stored->rowsPerStrip())};
    }
    Result<QByteArray> encoded = G4PageEncoder::encode(page.image());
    if (!encoded.ok())
        return encoded.status();
    return PageStrips{{std::move(encoded).value()}, static_cast<uint32_t>(page.height())};
}

// Gets every page's Group 4 data, several pages at a time: encoding is nearly
// all the work of writing a fax image, and pages do not depend on one another.
std::vector<std::optional<Result<PageStrips>>> encodePages(const std::vector<Page>& pages)
{
    std::vector<std::optional<Result<PageStrips>>> encoded(pages.size());
    ForEachOnAllCores(pages.size(), [&pages, &encoded](size_t i) {
        try {
            encoded[i] = stripsOf(pages[i]);
        } catch (const std::bad_alloc&) {
            encoded[i] = Result<PageStrips>(
                Status::failure(QStringLiteral("Not enough memory to encode page %1.").arg(i + 1)));
        }
    });
    return encoded;
}

bool writeEncodedPage(TIFF* tiff, const Page& page, const PageStrips& data, uint16_t index,
                      uint16_t count)
{
    return setPageTags(tiff, page, data.rowsPerStrip, index, count) &&
           WriteRawStrips(tiff, data.strips) && TIFFWriteDirectory(tiff) == 1;
}

// A new file is the owner's alone (fax images lie in the shared temporary
// folder and carry the user's documents); a replaced one keeps its own.
void setFinalPermissions(const QString& temporary, const QString& target)
{
    const QFileInfo existing(target);
    const QFile::Permissions permissions =
        existing.exists()
            ? existing.permissions()
            : (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QFile::setPermissions(temporary, permissions);
}

Status checkPages(const std::vector<Page>& pages, const QString& path)
{
    if (pages.empty())
        return Status::failure(failureText(path, tr("the document has no pages.")));
    if (pages.size() > kMaxPages)
        return Status::failure(failureText(path, tr("the document has too many pages.")));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].isNull())
            return Status::failure(failureText(path, tr("page %1 is empty.").arg(i + 1)));
    }
    return Status::success();
}

Status writeAllPages(const std::vector<Page>& pages, const QString& temporary, const QString& path)
{
    TiffMessageCapture capture;
    TiffHandle tiff(TIFFOpenExt(QFile::encodeName(temporary).constData(), "w", capture.options()));
    if (!tiff)
        return Status::failure(failureText(path, withLibraryDetail(systemReason(errno), capture)));

    const std::vector<std::optional<Result<PageStrips>>> encoded = encodePages(pages);
    const auto count = static_cast<uint16_t>(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        const Result<PageStrips>& strip = *encoded[i];
        if (!strip.ok()) {
            return Status::failure(
                failureText(path, tr("page %1: %2").arg(i + 1).arg(strip.status().text())));
        }
        errno = 0;
        if (!writeEncodedPage(tiff.get(), pages[i], strip.value(), static_cast<uint16_t>(i),
                              count)) {
            const QString reason =
                errno != 0 ? systemReason(errno) : tr("page %1 could not be written.").arg(i + 1);
            return Status::failure(failureText(path, withLibraryDetail(reason, capture)));
        }
    }
    errno = 0;
    const bool flushed = TIFFFlush(tiff.get()) == 1 && ::fsync(TIFFFileno(tiff.get())) == 0;
    const int flushError = errno;
    tiff.reset();
    if (!flushed || capture.hasErrors()) {
        const QString reason =
            flushError != 0 ? systemReason(flushError) : tr("the file could not be completed.");
        return Status::failure(failureText(path, withLibraryDetail(reason, capture)));
    }
    return Status::success();
}

} // namespace

void ApplyFaxImageParameters(std::vector<Page>& pages, const FaxImageOptions& options)
{
    for (Page& page : pages)
        applyToPage(page, options);
}

void ApplyFaxImageParameters(PageList& pages, const FaxImageOptions& options)
{
    for (int i = 0; i < pages.count(); ++i) {
        Page page = pages.page(i);
        applyToPage(page, options);
        pages.replace(i, std::move(page));
    }
}

Status WriteFaxImage(const std::vector<Page>& pages, const QString& path)
{
    const Status valid = checkPages(pages, path);
    if (!valid.ok())
        return valid;
    const QFileInfo target(path);
    if (target.isDir())
        return Status::failure(failureText(path, tr("a folder of that name exists.")));

    // The pages go to a temporary file beside the target, which takes the
    // target's name only when it is complete: a failure on the way (full
    // disk, a page that cannot be encoded) leaves any earlier file as it was.
    QTemporaryFile temporary(target.absoluteFilePath() + kTemporarySuffix);
    if (!temporary.open()) {
        return Status::failure(failureText(path, temporary.errorString()));
    }
    const QString temporaryPath = temporary.fileName();
    temporary.close();

    const Status written = writeAllPages(pages, temporaryPath, path);
    if (!written.ok())
        return written;
    setFinalPermissions(temporaryPath, target.absoluteFilePath());
    if (std::rename(QFile::encodeName(temporaryPath).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        return Status::failure(failureText(path, systemReason(errno)));
    }
    temporary.setAutoRemove(false);
    return Status::success();
}

Status WriteFaxImage(const PageList& pages, const QString& path)
{
    return WriteFaxImage(pages.pages(), path);
}
