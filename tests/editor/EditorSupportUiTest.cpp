#include "tests/editor/EditorSupportUiTest.h"

#include <QDir>
#include <QPainter>

namespace editorui {

namespace {
void WriteRows(TIFF* tiff, const QImage& image, int bytesPerRow)
{
    for (int y = 0; y < image.height(); ++y) {
        QByteArray row(reinterpret_cast<const char*>(image.constScanLine(y)), bytesPerRow);
        ASSERT_EQ(TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0), 1);
    }
}

QImage RgbRowsOf(const QImage& image)
{
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return rgb;
}
} // namespace

void WriteTestTiff(const QString& path, const std::vector<TiffTestPage>& pages)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    ASSERT_NE(tiff, nullptr) << path.toStdString();
    for (const TiffTestPage& page : pages) {
        const QImage& image = page.image;
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width()));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height()));
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(page.dpi));
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(page.dpi));
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(image.height()));
        if (image.format() == QImage::Format_Mono) {
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
            WriteRows(tiff, image, (image.width() + 7) / 8);
        } else if (image.format() == QImage::Format_Grayscale8) {
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
            WriteRows(tiff, image, image.width());
        } else {
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
            WriteRows(tiff, RgbRowsOf(image), image.width() * 3);
        }
        ASSERT_EQ(TIFFWriteDirectory(tiff), 1);
    }
    TIFFClose(tiff);
}

QImage BilevelPage(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < height / 10; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 1);
    return image;
}

QImage GreyPage(int width, int height)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(255 * x / qMax(1, width - 1));
    return image;
}

QImage ColourPage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, height / 2, width / 2, height / 2, Qt::blue);
    return image;
}

std::vector<TiffTestPage> MixedDocument()
{
    return {
        {BilevelPage(400, 560), COMPRESSION_CCITTFAX4, 200},
        {GreyPage(300, 420), COMPRESSION_LZW, 150},
        {ColourPage(320, 240), COMPRESSION_NONE, 96},
        {BilevelPage(410, 580), COMPRESSION_PACKBITS, 300},
    };
}

void EditorWindowTest::SetUp()
{
    ASSERT_TRUE(m_base.isValid());
    m_hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
    m_savedTmpDir = qgetenv("TMPDIR");
    // Our own temporary folder: files directly inside it count as the
    // program's own spool files.
    qputenv("TMPDIR", QFile::encodeName(m_base.path()));
    ASSERT_TRUE(QDir().mkpath(QDir(m_base.path()).filePath(QStringLiteral("documents"))));
    host.settings.HistoryCount = 20;
    host.settings.FontName = QStringLiteral("Arial");
    host.settings.FontSize = 12;
    host.settings.PenColor = 0x00FFFFFF;
    host.settings.BrushColor = 0x00800000;
    host.settings.OutputDPI = 300;
}

void EditorWindowTest::TearDown()
{
    closeEditor();
    if (m_hadTmpDir)
        qputenv("TMPDIR", m_savedTmpDir);
    else
        qunsetenv("TMPDIR");
}

QString EditorWindowTest::spoolPath(const QString& name) const
{
    return QDir(m_base.path()).filePath(name);
}

QString EditorWindowTest::userPath(const QString& name) const
{
    return QDir(m_base.path()).filePath(QStringLiteral("documents/") + name);
}

TFaxEditForm& EditorWindowTest::openEditor(const QString& path)
{
    form = new TFaxEditForm(host);
    form->OpenDocument(path);
    EXPECT_TRUE(WaitFor([this] { return form && form->startupLoadDone(); }))
        << "the start-up load did not run";
    return *form;
}

void EditorWindowTest::closeEditor()
{
    if (form)
        form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace editorui
