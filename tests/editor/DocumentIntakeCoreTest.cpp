#include "editor/core/DocumentIntake.h"
#include "tests/editor/TiffFilesCoreTest.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Points the temporary folder and the runtime folder at fresh folders for one
// test and puts the environment back afterwards.
class DocumentIntakeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedTemp = qgetenv("TMPDIR");
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        QDir(root.path()).mkpath(QStringLiteral("temp"));
        QDir(root.path()).mkpath(QStringLiteral("runtime/quillon2-spool"));
        QDir(root.path()).mkpath(QStringLiteral("elsewhere"));
        qputenv("TMPDIR", QFile::encodeName(temp()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath(QStringLiteral("runtime"))));
    }
    void TearDown() override
    {
        restore("TMPDIR", m_savedTemp);
        restore("XDG_RUNTIME_DIR", m_savedRuntime);
    }
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QString temp() const { return root.filePath(QStringLiteral("temp")); }
    QString spool() const { return root.filePath(QStringLiteral("runtime/quillon2-spool")); }
    QString elsewhere() const { return root.filePath(QStringLiteral("elsewhere")); }

    QString writeDocument(const QString& folder, const QString& name) const
    {
        const QString path = folder + QLatin1Char('/') + name;
        tifffiles::TiffPage page;
        page.image = tifffiles::bilevelPattern(40, 30);
        page.compression = COMPRESSION_CCITTFAX4;
        EXPECT_TRUE(tifffiles::writeTiff(path, {page, page}));
        return path;
    }

    const QDateTime time{QDate(2024, 3, 5), QTime(14, 7, 9, 42)};
    QTemporaryDir root;

private:
    QByteArray m_savedTemp;
    QByteArray m_savedRuntime;
};

} // namespace

TEST(DocumentIntakeNamesTest, TimeStampAndNumberBoxText)
{
    EXPECT_EQ(DocumentIntake::TimeStamp(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 42))),
              QStringLiteral("20240305140709042"));
    const std::pair<const char*, const char*> comments[] = {
        {"/var/spool/Invoice 12.tif", "(Invoice 12)"},
        {"a.b.tif", "(a.b)"},
        {"/x/noextension", "(noextension)"}};
    for (const auto& [path, comment] : comments)
        EXPECT_EQ(DocumentIntake::FaxNumberComment(QString::fromUtf8(path)),
                  QString::fromUtf8(comment));
}

TEST_F(DocumentIntakeTest, SpoolFolderFollowsTheRuntimeFolder)
{
    EXPECT_EQ(DocumentIntake::SpoolFolder(), spool());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DocumentIntake::SpoolFolder(), temp() + QStringLiteral("/quillon2-spool"));
}

TEST_F(DocumentIntakeTest, OurFilesAreMovedReadAndDeleted)
{
    for (const QString& folder : {temp(), spool()}) {
        SCOPED_TRACE(folder.toStdString());
        const QString incoming = writeDocument(folder, QStringLiteral("doc.tif"));

        const IntakeDocument document = DocumentIntake::TakeOver(incoming, time);

        EXPECT_EQ(document.documentFile, folder + QStringLiteral("/file_20240305140709042.tif"));
        EXPECT_EQ(document.faxNumberText, QStringLiteral("(doc)"));
        EXPECT_FALSE(QFileInfo::exists(incoming));
        EXPECT_TRUE(QFileInfo::exists(document.documentFile));
        EXPECT_TRUE(document.deleteAfterRead);

        const Result<std::vector<Page>> pages = DocumentIntake::ReadDocument(document);
        ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
        EXPECT_EQ(pages.value().size(), 2u);
        EXPECT_FALSE(QFileInfo::exists(document.documentFile));
    }
}

TEST_F(DocumentIntakeTest, OtherFilesAreReadWhereTheyStandAndKept)
{
    const QString incoming = writeDocument(elsewhere(), QStringLiteral("letter.fax"));
    const QByteArray before = testfiles::read(incoming);

    const IntakeDocument document = DocumentIntake::TakeOver(incoming, time);

    EXPECT_EQ(document.documentFile, temp() + QStringLiteral("/file_20240305140709042.fax"));
    EXPECT_EQ(document.readFrom, incoming);
    EXPECT_FALSE(document.deleteAfterRead);
    const Result<std::vector<Page>> pages = DocumentIntake::ReadDocument(document);
    ASSERT_TRUE(pages.ok());
    EXPECT_EQ(pages.value().size(), 2u);
    EXPECT_EQ(testfiles::read(incoming), before);
    EXPECT_FALSE(QFileInfo::exists(document.documentFile));
}

TEST_F(DocumentIntakeTest, SameMillisecondGetsACounter)
{
    const QString first = writeDocument(temp(), QStringLiteral("one.tif"));
    const QString second = writeDocument(temp(), QStringLiteral("two.tif"));
    const QString third = writeDocument(temp(), QStringLiteral("three"));
    const QString fourth = writeDocument(temp(), QStringLiteral("four"));

    EXPECT_EQ(QFileInfo(DocumentIntake::TakeOver(first, time).documentFile).fileName(),
              QStringLiteral("file_20240305140709042.tif"));
    EXPECT_EQ(QFileInfo(DocumentIntake::TakeOver(second, time).documentFile).fileName(),
              QStringLiteral("file_20240305140709042_1.tif"));
    EXPECT_EQ(QFileInfo(DocumentIntake::TakeOver(third, time).documentFile).fileName(),
              QStringLiteral("file_20240305140709042"));
    EXPECT_EQ(QFileInfo(DocumentIntake::TakeOver(fourth, time).documentFile).fileName(),
              QStringLiteral("file_20240305140709042_1"));
    EXPECT_EQ(QDir(temp()).entryList(QDir::Files).size(), 4);
}

TEST_F(DocumentIntakeTest, UnreadableFileStaysOnDisk)
{
    const QString incoming = temp() + QStringLiteral("/broken.tif");
    testfiles::write(incoming, QByteArray("not a tiff at all"));
    const IntakeDocument document = DocumentIntake::TakeOver(incoming, time);

    const Result<std::vector<Page>> pages = DocumentIntake::ReadDocument(document);

    ASSERT_FALSE(pages.ok());
    EXPECT_TRUE(pages.status().text().contains(document.documentFile));
    EXPECT_TRUE(QFileInfo::exists(document.documentFile));
}

TEST_F(DocumentIntakeTest, NewDocumentIsOneBlankPage)
{
    const IntakeDocument document = DocumentIntake::NewDocument(time);
    EXPECT_TRUE(document.isNew);
    EXPECT_TRUE(document.readFrom.isEmpty());
    EXPECT_TRUE(document.faxNumberText.isEmpty());
    EXPECT_EQ(QFileInfo(document.documentFile).absolutePath(), temp());
    EXPECT_TRUE(document.documentFile.endsWith(QStringLiteral(".tif")));

    const Result<std::vector<Page>> pages = DocumentIntake::ReadDocument(document);
    ASSERT_TRUE(pages.ok());
    ASSERT_EQ(pages.value().size(), 1u);
    const QImage& image = pages.value().front().image();
    EXPECT_EQ(image.size(), QSize(1664, 2338));
    EXPECT_EQ(image.format(), QImage::Format_Mono);
    EXPECT_EQ(image.pixel(800, 1200), qRgb(255, 255, 255));
}
