// The editor window's life with a document: taking the incoming file over,
// the start-up load, new documents, unreadable input, saving, and the fax
// image of a sent fax.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/core/DocumentIntake.h"
#include "editor/core/DocumentReaders.h"
#include "editor/core/PageList.h"
#include "editor/ui/FaxNumberBox.h"
#include "editor/ui/PageThumbnailModel.h"
#include "editor/ui/PageView.h"
#include "editor/ui/ThumbnailList.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSlider>

using namespace editorui;

class EditorDocumentUiTest : public EditorWindowTest
{
};

TEST_F(EditorDocumentUiTest, OpensEveryPageOfAMixedTiffCaptionedAndFirstPageFitted)
{
    const QString path = spoolPath(QStringLiteral("scan.tif"));
    WriteTestTiff(path, MixedDocument());

    TFaxEditForm& editor = openEditor(path);

    ASSERT_EQ(editor.pages().count(), 4);
    EXPECT_EQ(editor.pages().page(0).image().format(), QImage::Format_Mono);
    EXPECT_EQ(editor.pages().page(2).image().size(), QSize(320, 240));
    const QStringList expected = {"Page 1", "Page 2", "Page 3", "Page 4"};
    QStringList captions;
    for (int i = 0; i < editor.pages().count(); ++i)
        captions << editor.pageThumbnails().caption(i);
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(editor.cbFaxNumber()->currentText(), QStringLiteral("(scan)"));
    EXPECT_EQ(editor.currentPage(), 0);
    EXPECT_EQ(editor.imvDoc()->currentRow(), 0);
    EXPECT_TRUE(editor.isMaximized());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Quillon"));

    // Page 1 is in the view, fitted: the whole page is visible at the zoom
    // the track bar shows.
    const PageView& view = *editor.ImageEnView1();
    EXPECT_EQ(view.layers().layerCount(), 1);
    EXPECT_EQ(view.layers().layer(0).image.size(), QSize(400, 560));
    EXPECT_EQ(view.dpiX(), 200);
    const auto* zoom = editor.findChild<QSlider*>(QStringLiteral("TrackBar2"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->value(), static_cast<int>(view.zoom()));
    EXPECT_EQ(zoom->value(), qBound(5, static_cast<int>(view.fitZoom()), 500));
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorDocumentUiTest, TakesOverItsOwnFilesAndLeavesTheUsersFilesAlone)
{
    struct Case
    {
        const char* label;
        bool inSpool;
        bool expectRenamedAndDeleted;
    };
    const Case cases[] = {
        {"a file in the temporary folder is ours", true, true},
        {"a file in a folder of the user's stays", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path =
            c.inSpool ? spoolPath(QStringLiteral("a.b.tif")) : userPath(QStringLiteral("a.b.tif"));
        WriteTestTiff(path, {{BilevelPage(64, 64), COMPRESSION_CCITTFAX4, 200}});
        const QByteArray original = testfiles::read(path);

        TFaxEditForm& editor = openEditor(path);

        EXPECT_EQ(editor.pages().count(), 1);
        EXPECT_EQ(editor.cbFaxNumber()->currentText(), QStringLiteral("(a.b)"));
        const QFileInfo working(editor.documentFile());
        EXPECT_TRUE(working.fileName().startsWith(QStringLiteral("file_")))
            << editor.documentFile().toStdString();
        EXPECT_EQ(working.suffix(), QStringLiteral("tif"));
        if (c.expectRenamedAndDeleted) {
            EXPECT_FALSE(QFileInfo::exists(path));
            EXPECT_FALSE(QFileInfo::exists(editor.documentFile()));
            EXPECT_EQ(working.absolutePath(), QFileInfo(path).absolutePath());
        } else {
            EXPECT_EQ(testfiles::read(path), original);
        }
        closeEditor();
        QFile::remove(path);
    }
}

TEST_F(EditorDocumentUiTest, NewDocumentIsOneBlankBilevelPageAndReadsNoFile)
{
    const QString bystander = spoolPath(QStringLiteral("_new_.tif"));
    WriteTestTiff(bystander, {{BilevelPage(32, 32), COMPRESSION_NONE, 200}});

    TFaxEditForm& editor = openEditor(QString());

    ASSERT_EQ(editor.pages().count(), 1);
    const QImage& page = editor.pages().page(0).image();
    EXPECT_EQ(page.size(),
              QSize(DocumentIntake::kBlankPageWidth, DocumentIntake::kBlankPageHeight));
    EXPECT_EQ(page.format(), QImage::Format_Mono);
    EXPECT_EQ(page.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_TRUE(editor.cbFaxNumber()->currentText().isEmpty());
    EXPECT_FALSE(editor.documentFile().isEmpty());
    EXPECT_EQ(editor.currentPage(), 0);
    EXPECT_EQ(editor.ImageEnView1()->layers().layer(0).image.size(), page.size());
    EXPECT_TRUE(QFileInfo::exists(bystander));
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorDocumentUiTest, DamagedInputNamesTheFileAndOpensNoHalfDocument)
{
    const QString path = spoolPath(QStringLiteral("broken.tif"));
    WriteTestTiff(path, MixedDocument());
    QByteArray bytes = testfiles::read(path);
    // Keep the header and the first directory's start, lose the rest.
    bytes.truncate(bytes.size() / 3);
    testfiles::write(path, bytes);

    TFaxEditForm& editor = openEditor(path);

    EXPECT_EQ(editor.pages().count(), 0);
    ASSERT_EQ(host.prompts.shown().size(), 1u);
    EXPECT_EQ(host.prompts.shown()[0].icon, Prompter::Icon::Error);
    // The working file is the one that was read; it stays on disk.
    EXPECT_TRUE(host.prompts.shown()[0].text.contains(QFileInfo(editor.documentFile()).fileName()))
        << host.prompts.shown()[0].text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(editor.documentFile()));
    EXPECT_TRUE(editor.ImageEnView1()->isEmpty());
    EXPECT_EQ(editor.currentPage(), -1);

    // Pages handed to this window later open when the user chooses them.
    editor.pages().append(DocumentIntake::BlankPage());
    editor.imvDoc()->selectRow(0);
    editor.imvDocImageSelect(0);
    EXPECT_EQ(editor.currentPage(), 0);
    EXPECT_FALSE(editor.ImageEnView1()->isEmpty());
}

TEST_F(EditorDocumentUiTest, SaveWritesAGroup4TiffOfEveryPageWhateverTheExtension)
{
    const QString path = spoolPath(QStringLiteral("scan.tif"));
    WriteTestTiff(path, MixedDocument());
    TFaxEditForm& editor = openEditor(path);
    const QString target = userPath(QStringLiteral("saved.png"));
    int asked = 0;
    editor.setSaveFileNameChooser([&](QWidget*) {
        ++asked;
        return target;
    });

    editor.action(QStringLiteral("acFileSave"))->trigger();

    EXPECT_EQ(asked, 1);
    Result<std::vector<Page>> back =
        DocumentReaders::readerFor(QStringLiteral("x.tif"))->read(target);
    ASSERT_TRUE(back.ok()) << back.status().text().toStdString();
    ASSERT_EQ(back.value().size(), 4u);
    for (const Page& page : back.value()) {
        EXPECT_EQ(page.parameters().compression, PageParameters::kCompressionCcittG4);
        EXPECT_TRUE(page.parameters().isBilevel());
    }
    EXPECT_EQ(back.value()[2].image().size(), QSize(320, 240));
    // The document keeps its pages as they were.
    EXPECT_EQ(editor.pages().page(1).image().format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorDocumentUiTest, SaveCancelledOrFailingWritesNothingAndSaysWhy)
{
    TFaxEditForm& editor = openEditor(QString());

    editor.setSaveFileNameChooser([](QWidget*) { return QString(); });
    editor.action(QStringLiteral("acFileSave"))->trigger();
    EXPECT_TRUE(host.prompts.shown().empty());

    const QString impossible = userPath(QStringLiteral("missing-folder/out.tif"));
    editor.setSaveFileNameChooser([&](QWidget*) { return impossible; });
    editor.action(QStringLiteral("acFileSave"))->trigger();
    ASSERT_EQ(host.prompts.shown().size(), 1u);
    EXPECT_EQ(host.prompts.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_TRUE(host.prompts.shown()[0].text.contains(QStringLiteral("out.tif")))
        << host.prompts.shown()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(impossible));
}

TEST_F(EditorDocumentUiTest, SaveOfAnEmptyDocumentDoesNothing)
{
    const QString path = spoolPath(QStringLiteral("broken.tif"));
    testfiles::write(path, QByteArray("not a tiff at all"));
    TFaxEditForm& editor = openEditor(path);
    host.prompts.clear();
    int asked = 0;
    editor.setSaveFileNameChooser([&](QWidget*) {
        ++asked;
        return userPath(QStringLiteral("never.tif"));
    });

    editor.action(QStringLiteral("acFileSave"))->trigger();

    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorDocumentUiTest, ASentFaxImageIsDeletedWithTheWindowAnUnsentOneStays)
{
    for (const bool sent : {true, false}) {
        SCOPED_TRACE(sent ? "sent" : "not sent");
        TFaxEditForm& editor = openEditor(QString());
        const QString faxImage = userPath(QStringLiteral("fax.tif"));
        testfiles::write(faxImage, QByteArray("fax image"));
        editor.setDocumentFile(faxImage);
        editor.setSent(sent);

        closeEditor();

        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(QFileInfo::exists(faxImage), !sent);
        QFile::remove(faxImage);
    }
}

TEST_F(EditorDocumentUiTest, ClosingWritesTheDrawingDefaultsBackAndAsksNothing)
{
    host.settings.PenStyle = 2;
    host.settings.BrushStyle = 6;
    host.settings.PenColor = 0x00123456;
    host.settings.FontName = QStringLiteral("Courier");
    host.settings.FontSize = 17;
    openEditor(QString());
    host.settings.PenStyle = 0;
    host.settings.BrushStyle = 0;
    host.settings.PenColor = 0;
    host.settings.FontSize = 0;

    closeEditor();

    EXPECT_EQ(host.settings.PenStyle, 2);
    EXPECT_EQ(host.settings.BrushStyle, 6);
    EXPECT_EQ(host.settings.PenColor, 0x00123456u);
    EXPECT_EQ(host.settings.BrushColor, 0x00800000u);
    EXPECT_EQ(host.settings.FontSize, 17);
    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_EQ(host.settingsSaves, 0);
}

TEST_F(EditorDocumentUiTest, SendFaxChecksTheNumberAndThePagesBeforeWritingAnything)
{
    struct Case
    {
        const char* label;
        bool brokenDocument;
        const char* number;
        const char* message;
    };
    const Case cases[] = {
        {"a text without a leading number", false, "(scan)", "Please full phone number!"},
        {"a document without pages", true, "123456 (My Favorite Client)", "No pages to send!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = spoolPath(QStringLiteral("scan.tif"));
        if (c.brokenDocument)
            testfiles::write(path, QByteArray("not a tiff"));
        else
            WriteTestTiff(path, {{BilevelPage(64, 64), COMPRESSION_CCITTFAX4, 200}});
        TFaxEditForm& editor = openEditor(path);
        host.prompts.clear();
        editor.cbFaxNumber()->setEditText(QString::fromLatin1(c.number));
        const QString before = editor.documentFile();

        editor.action(QStringLiteral("acSendFax"))->trigger();

        ASSERT_EQ(host.prompts.shown().size(), 1u);
        EXPECT_EQ(host.prompts.shown()[0].icon, Prompter::Icon::Error);
        EXPECT_EQ(host.prompts.shown()[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(editor.documentFile(), before);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_FALSE(editor.sent());
        closeEditor();
        QFile::remove(path);
    }
}

TEST_F(EditorDocumentUiTest, SendFaxWritesTheFaxImageBesideTheWorkingFile)
{
    // A relay value no relay answers to: the command ends after the fax
    // image, with the window still open.
    host.settings.EMailSendMethod = 9;
    const QString path = spoolPath(QStringLiteral("letter.bmp"));
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(path, "BMP"));
    TFaxEditForm& editor = openEditor(path);
    editor.cbFaxNumber()->setEditText(QStringLiteral("123456 (letter)"));
    const QFileInfo working(editor.documentFile());

    editor.action(QStringLiteral("acSendFax"))->trigger();

    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_EQ(QFileInfo(editor.documentFile()).completeBaseName(), working.completeBaseName());
    EXPECT_EQ(QFileInfo(editor.documentFile()).suffix(), QStringLiteral("tif"));
    Result<std::vector<Page>> faxImage = DocumentReaders::read(editor.documentFile());
    ASSERT_TRUE(faxImage.ok()) << faxImage.status().text().toStdString();
    EXPECT_EQ(faxImage.value().size(), 1u);
    EXPECT_EQ(faxImage.value()[0].parameters().compression, PageParameters::kCompressionCcittG4);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(editor.sent());
}
