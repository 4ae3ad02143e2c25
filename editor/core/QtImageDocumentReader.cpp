#include "editor/core/QtImageDocumentReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace {

constexpr double kInchesPerMetre = 39.3700787;
constexpr qint64 kBytesPerPixel = 4;
constexpr qint64 kBytesPerMegabyte = 1024 * 1024;

QString tr(const char* text)
{
    return QCoreApplication::translate("QtImageDocumentReader", text);
}

QString failureText(const QString& path, const QString& reason)
{
    return tr("Cannot read \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

int toDpi(int dotsPerMetre)
{
    if (dotsPerMetre <= 0)
        return PageParameters::kDefaultDpi;
    return static_cast<int>(std::lround(dotsPerMetre / kInchesPerMetre));
}

// Pages keep one of the formats the rest of the editor knows: 1-bit, grey,
// palette, RGB or ARGB.
QImage toPageFormat(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return image;
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Mono);
    case QImage::Format_Grayscale16:
        return image.convertToFormat(QImage::Format_Grayscale8);
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
    }
}

PageParameters parametersFor(const QImage& image)
{
    PageParameters parameters;
    parameters.dpiX = toDpi(image.dotsPerMeterX());
    parameters.dpiY = toDpi(image.dotsPerMeterY());
    DescribePixelFormat(image, parameters);
    return parameters;
}

} // namespace

QtImageDocumentReader::QtImageDocumentReader(Images images) : m_images(images) {}

Result<std::vector<Page>> QtImageDocumentReader::read(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Status::failure(failureText(path, tr("the file does not exist.")));
    if (info.size() == 0)
        return Status::failure(failureText(path, tr("the file is empty.")));

    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return Status::failure(failureText(
            path, tr("it is not a picture this program can read, or it is damaged (%1).")
                      .arg(reader.errorString())));
    }

    // GIF frames come one after another with each read; icon images are
    // addressed by number. Jumping first serves both.
    const int count = m_images == Images::All ? qMax(1, reader.imageCount()) : 1;
    std::vector<Page> pages;
    for (int index = 0; index < count; ++index) {
        if (index > 0)
            reader.jumpToImage(index);
        const QSize size = reader.size();
        if (size.isValid() &&
            static_cast<qint64>(size.width()) * size.height() > DocumentReader::kMaxPagePixels) {
            return Status::failure(failureText(
                path, tr("image %1 claims %2 by %3 pixels, more than any document page can "
                         "have.")
                          .arg(pages.size() + 1)
                          .arg(size.width())
                          .arg(size.height())));
        }
        // Qt's readers refuse pictures above their own allocation limit (a
        // process-wide setting we leave alone); say so rather than "damaged".
        const qint64 limit = QImageReader::allocationLimit() * kBytesPerMegabyte;
        if (size.isValid() && limit > 0 &&
            static_cast<qint64>(size.width()) * size.height() * kBytesPerPixel > limit) {
            return Status::failure(
                failureText(path, tr("image %1 is %2 by %3 pixels, too large to open as a page.")
                                      .arg(pages.size() + 1)
                                      .arg(size.width())
                                      .arg(size.height())));
        }
        QImage image;
        if (!reader.read(&image) || image.isNull()) {
            return Status::failure(failureText(path, tr("image %1 is damaged or incomplete (%2).")
                                                         .arg(pages.size() + 1)
                                                         .arg(reader.errorString())));
        }
        image = toPageFormat(image);
        PageParameters parameters = parametersFor(image);
        pages.emplace_back(std::move(image), std::move(parameters));
    }
    return pages;
}
