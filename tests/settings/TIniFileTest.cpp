// Loading and saving the whole settings file: defaults, the layout of a new
// file, updates that leave foreign lines alone, and saves that fail safely.
#include "settings/core/IniFile.h"
#include "settings/core/TIni.h"

#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kNewFileText = "[EMAIL]\n"
                                "EMailPass=\n"
                                "EMailName=\n"
                                "EMailServer=\n"
                                "EMailAuth=0\n"
                                "EMailServerPort=25\n"
                                "EMailServerSSLPort=465\n"
                                "EMailServerRequreFQN=0\n"
                                "EMailServerRequreSSL=0\n"
                                "EMailServerVerifySSL=1\n"
                                "[Common]\n"
                                "HistoryCount=20\n"
                                "LastFaxNumbers=\n"
                                "EMailSendMethod=0\n"
                                "LanguageID=1033\n"
                                "OutputDPI=300\n"
                                "ChangeOutputDPI=0\n"
                                "MakeCopyToPrinter=0\n"
                                "DefaultPrinter=\n"
                                "[Info]\n"
                                "CardName=\n"
                                "CardPasswordHash=\n"
                                "ReplyAddress=\n"
                                "PassMode=1\n"
                                "[Draw]\n"
                                "BrushColor=8388608\n"
                                "BrushStyle=0\n"
                                "PenWidth=1\n"
                                "PenColor=16777215\n"
                                "PenStyle=0\n"
                                "FontSize=12\n"
                                "FontName=Arial\n"
                                "[PrintPreview]\n"
                                "MarginTop=1\n"
                                "MarginLeft=1\n"
                                "MarginRight=1\n"
                                "MarginBottom=1\n"
                                "PrintSize=0\n"
                                "PrintAlign=0\n";

void expectDefaults(const TIni& ini)
{
    EXPECT_EQ(ini.EMailName, QString());
    EXPECT_EQ(ini.EMailServer, QString());
    EXPECT_FALSE(ini.EMailAuth);
    EXPECT_EQ(ini.HistoryCount, 20);
    EXPECT_EQ(ini.CardName, QString());
    EXPECT_EQ(ini.CardPasswordHash, QString());
    EXPECT_EQ(ini.ReplyAddress, QString());
    EXPECT_EQ(ini.EMailPass, QString());
    EXPECT_EQ(ini.EMailServerPort, 25);
    EXPECT_EQ(ini.EMailServerSSLPort, 465);
    EXPECT_TRUE(ini.LastFaxNumbers.isEmpty());
    EXPECT_EQ(ini.EMailSendMethod, 0);
    EXPECT_EQ(ini.LanguageID, 1033);
    EXPECT_EQ(ini.PassMode, 1);
    EXPECT_EQ(ini.OutputDPI, 300);
    EXPECT_FALSE(ini.ChangeOutputDPI);
    EXPECT_EQ(ini.BrushStyle, 0);
    EXPECT_EQ(ini.PenWidth, 1);
    EXPECT_EQ(ini.PenColor, 0xFFFFFFu);
    EXPECT_EQ(ini.PenStyle, 0);
    EXPECT_EQ(ini.FontSize, 12);
    EXPECT_EQ(ini.FontName, QStringLiteral("Arial"));
    EXPECT_EQ(ini.BrushColor, 0x800000u);
    EXPECT_FALSE(ini.MakeCopyToPrinter);
    EXPECT_EQ(ini.MarginLeft, 1);
    EXPECT_EQ(ini.MarginRight, 1);
    EXPECT_EQ(ini.MarginBottom, 1);
    EXPECT_EQ(ini.MarginTop, 1);
    EXPECT_EQ(ini.PrintSize, 0);
    EXPECT_EQ(ini.PrintAlign, 0);
    EXPECT_FALSE(ini.EMailServerRequreFQN);
    EXPECT_FALSE(ini.EMailServerRequreSSL);
    EXPECT_TRUE(ini.EMailServerVerifySSL);
}

int fileMode(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 0777);
}

// Every field away from its default, so a round trip shows each key.
TIni everyFieldChanged()
{
    TIni ini;
    ini.EMailName = QStringLiteral("fax-user");
    ini.EMailServer = QStringLiteral("smtp.example.net");
    ini.EMailAuth = true;
    ini.HistoryCount = 7;
    ini.CardName = QStringLiteral("100200300");
    ini.CardPasswordHash = QStringLiteral("81dc9bdb52d04dc20036dbd8313ed055");
    ini.ReplyAddress = QString::fromUtf8("j\xC3\xBCrgen@example.net");
    ini.EMailPass = QStringLiteral("pa;ss#word");
    ini.EMailServerPort = 587;
    ini.EMailServerSSLPort = 2465;
    ini.LastFaxNumbers = {QStringLiteral("555-01;7 (draft)"), QStringLiteral("12#3")};
    ini.EMailSendMethod = 2;
    ini.LanguageID = 1049;
    ini.PassMode = 0;
    ini.OutputDPI = 200;
    ini.ChangeOutputDPI = true;
    ini.BrushStyle = 3;
    ini.PenWidth = 4;
    ini.PenColor = 0xFF000005u; // a system colour: all 32 bits must survive
    ini.PenStyle = 2;
    ini.FontSize = 9;
    ini.FontName = QStringLiteral("DejaVu Sans");
    ini.BrushColor = 0x00FF00u;
    ini.MakeCopyToPrinter = true;
    ini.MarginLeft = 10;
    ini.MarginRight = 11;
    ini.MarginBottom = 12;
    ini.MarginTop = 13;
    ini.PrintSize = 2;
    ini.PrintAlign = -1;
    ini.EMailServerRequreFQN = true;
    ini.EMailServerRequreSSL = true;
    ini.EMailServerVerifySSL = false;
    return ini;
}

class SettingsFile : public testing::Test
{
protected:
    QString path(const QString& name = QStringLiteral("quillon2.ini")) const
    {
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsFile, MissingOrEmptyFileGivesDefaults)
{
    TIni missing;
    missing.LoadFromFile(path(QStringLiteral("none.ini")));
    expectDefaults(missing);
    EXPECT_EQ(missing.FileName, path(QStringLiteral("none.ini")));

    testfiles::write(path(), QByteArray());
    TIni empty;
    empty.LoadFromFile(path());
    expectDefaults(empty);

    // A folder where the file should be cannot be read: defaults as well.
    QDir().mkpath(path(QStringLiteral("folder.ini")));
    TIni folder;
    folder.LoadFromFile(path(QStringLiteral("folder.ini")));
    expectDefaults(folder);
}

TEST_F(SettingsFile, NewFileHasEveryKeyInOrder)
{
    TIni ini;
    ini.LoadFromStrings({});
    ASSERT_TRUE(ini.SaveToFile(path()).ok());
    EXPECT_EQ(testfiles::read(path()), kNewFileText);
}

TEST_F(SettingsFile, SaveCreatesMissingFolders)
{
    TIni ini;
    ini.LoadFromStrings({});
    const QString nested = m_dir.filePath(QStringLiteral("Vornik/Quillon2/quillon2.ini"));
    ASSERT_TRUE(ini.SaveToFile(nested).ok());
    EXPECT_EQ(testfiles::read(nested), kNewFileText);
}

TEST_F(SettingsFile, EveryFieldSurvivesSaveAndLoad)
{
    const TIni saved = everyFieldChanged();
    ASSERT_TRUE(saved.SaveToFile(path()).ok());

    TIni loaded;
    loaded.LoadFromFile(path());
    EXPECT_EQ(loaded.EMailName, saved.EMailName);
    EXPECT_EQ(loaded.EMailServer, saved.EMailServer);
    EXPECT_EQ(loaded.EMailAuth, saved.EMailAuth);
    EXPECT_EQ(loaded.HistoryCount, saved.HistoryCount);
    EXPECT_EQ(loaded.CardName, saved.CardName);
    EXPECT_EQ(loaded.CardPasswordHash, saved.CardPasswordHash);
    EXPECT_EQ(loaded.ReplyAddress, saved.ReplyAddress);
    EXPECT_EQ(loaded.EMailPass, saved.EMailPass);
    EXPECT_EQ(loaded.EMailServerPort, saved.EMailServerPort);
    EXPECT_EQ(loaded.EMailServerSSLPort, saved.EMailServerSSLPort);
    EXPECT_EQ(loaded.LastFaxNumbers, saved.LastFaxNumbers);
    EXPECT_EQ(loaded.EMailSendMethod, saved.EMailSendMethod);
    EXPECT_EQ(loaded.LanguageID, saved.LanguageID);
    EXPECT_EQ(loaded.PassMode, saved.PassMode);
    EXPECT_EQ(loaded.OutputDPI, saved.OutputDPI);
    EXPECT_EQ(loaded.ChangeOutputDPI, saved.ChangeOutputDPI);
    EXPECT_EQ(loaded.BrushStyle, saved.BrushStyle);
    EXPECT_EQ(loaded.PenWidth, saved.PenWidth);
    EXPECT_EQ(loaded.PenColor, saved.PenColor);
    EXPECT_EQ(loaded.PenStyle, saved.PenStyle);
    EXPECT_EQ(loaded.FontSize, saved.FontSize);
    EXPECT_EQ(loaded.FontName, saved.FontName);
    EXPECT_EQ(loaded.BrushColor, saved.BrushColor);
    EXPECT_EQ(loaded.MakeCopyToPrinter, saved.MakeCopyToPrinter);
    EXPECT_EQ(loaded.MarginLeft, saved.MarginLeft);
    EXPECT_EQ(loaded.MarginRight, saved.MarginRight);
    EXPECT_EQ(loaded.MarginBottom, saved.MarginBottom);
    EXPECT_EQ(loaded.MarginTop, saved.MarginTop);
    EXPECT_EQ(loaded.PrintSize, saved.PrintSize);
    EXPECT_EQ(loaded.PrintAlign, saved.PrintAlign);
    EXPECT_EQ(loaded.EMailServerRequreFQN, saved.EMailServerRequreFQN);
    EXPECT_EQ(loaded.EMailServerRequreSSL, saved.EMailServerRequreSSL);
    EXPECT_EQ(loaded.EMailServerVerifySSL, saved.EMailServerVerifySSL);
    EXPECT_TRUE(testfiles::read(path()).contains("\nLastFaxNumbers=555-01#3B7 (draft);12#233\n"));
}

TEST_F(SettingsFile, SaveUpdatesInPlaceAndKeepsForeignLines)
{
    testfiles::write(path(), "; written by hand\n"
                             "[Email]\n"
                             "  emailserver = old.example.net\n"
                             "Signature=keep me\n"
                             "\n"
                             "[Common]\n"
                             "; the history follows\n"
                             "LastFaxNumbers=1\n"
                             "\n"
                             "[Custom]\n"
                             "Foo=bar\n");
    TIni ini;
    ini.LoadFromFile(path());
    ini.EMailServer = QStringLiteral("smtp.example.net");
    ASSERT_TRUE(ini.SaveToFile(path()).ok());

    const QByteArray expected = "; written by hand\n"
                                "[Email]\n"
                                "emailserver=smtp.example.net\n"
                                "Signature=keep me\n"
                                "EMailPass=\n"
                                "EMailName=\n"
                                "EMailAuth=0\n"
                                "EMailServerPort=25\n"
                                "EMailServerSSLPort=465\n"
                                "EMailServerRequreFQN=0\n"
                                "EMailServerRequreSSL=0\n"
                                "EMailServerVerifySSL=1\n"
                                "\n"
                                "[Common]\n"
                                "; the history follows\n"
                                "LastFaxNumbers=1\n"
                                "HistoryCount=20\n"
                                "EMailSendMethod=0\n"
                                "LanguageID=1033\n"
                                "OutputDPI=300\n"
                                "ChangeOutputDPI=0\n"
                                "MakeCopyToPrinter=0\n"
                                "DefaultPrinter=\n"
                                "\n"
                                "[Custom]\n"
                                "Foo=bar\n"
                                "[Info]\n"
                                "CardName=\n"
                                "CardPasswordHash=\n"
                                "ReplyAddress=\n"
                                "PassMode=1\n"
                                "[Draw]\n"
                                "BrushColor=8388608\n"
                                "BrushStyle=0\n"
                                "PenWidth=1\n"
                                "PenColor=16777215\n"
                                "PenStyle=0\n"
                                "FontSize=12\n"
                                "FontName=Arial\n"
                                "[PrintPreview]\n"
                                "MarginTop=1\n"
                                "MarginLeft=1\n"
                                "MarginRight=1\n"
                                "MarginBottom=1\n"
                                "PrintSize=0\n"
                                "PrintAlign=0\n";
    EXPECT_EQ(testfiles::read(path()), expected);

    // A second save changes nothing more.
    ASSERT_TRUE(ini.SaveToFile(path()).ok());
    EXPECT_EQ(testfiles::read(path()), expected);
}

TEST_F(SettingsFile, SaveKeepsWindowsLineBreaks)
{
    testfiles::write(path(), "[Email]\r\nEMailServer=a\r\n");
    TIni ini;
    ini.LoadFromFile(path());
    ASSERT_TRUE(ini.SaveToFile(path()).ok());
    const QByteArray text = testfiles::read(path());
    EXPECT_TRUE(text.startsWith("[Email]\r\nEMailServer=a\r\nEMailPass=\r\n"));
    EXPECT_EQ(text.count("\r\n"), text.count("\n"));
}

TEST_F(SettingsFile, LineBreakInValueCannotAddKeys)
{
    TIni ini;
    ini.LoadFromStrings({});
    ini.EMailServer = QStringLiteral("host\n[Info]\r\nCardName=999");
    ASSERT_TRUE(ini.SaveToFile(path()).ok());

    TIni loaded;
    loaded.LoadFromFile(path());
    EXPECT_EQ(loaded.CardName, QString());
    EXPECT_EQ(loaded.EMailServer, QStringLiteral("host [Info] CardName=999"));
}

TEST_F(SettingsFile, OnlyTheOwnerMayReadIt)
{
    TIni ini;
    ini.LoadFromStrings({});
    ASSERT_TRUE(ini.SaveToFile(path()).ok());
    EXPECT_EQ(fileMode(path()), 0600);

    // A file that others could read is narrowed at the next save.
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_EQ(fileMode(path()), 0644);
    ASSERT_TRUE(ini.SaveToFile(path()).ok());
    EXPECT_EQ(fileMode(path()), 0600);
}

TEST_F(SettingsFile, FolderUnderARegularFileFails)
{
    testfiles::write(path(QStringLiteral("plain-file")), "x");
    const QString target = path(QStringLiteral("plain-file/quillon2.ini"));
    TIni ini;
    ini.LoadFromStrings({});
    const Status status = ini.SaveToFile(target);
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(status.text().startsWith(QStringLiteral("Unable to write to ") + target))
        << status.text().toStdString();
}

TEST_F(SettingsFile, TargetThatIsAFolderFails)
{
    const QString target = path(QStringLiteral("quillon2.ini"));
    ASSERT_TRUE(QDir().mkpath(target));
    TIni ini;
    ini.LoadFromStrings({});
    const Status status = ini.SaveToFile(target);
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(status.text().startsWith(QStringLiteral("Unable to write to ") + target));
    EXPECT_TRUE(QFileInfo(target).isDir());
}

// Lowers the largest file this process may write, as a full disk would;
// privileges do not lift it.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_saved = {};
    void (*m_savedHandler)(int) = nullptr;
    bool m_active = false;
};

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile)
{
    const QByteArray old = "[Info]\nCardName=42\n";
    testfiles::write(path(), old);
    TIni ini;
    ini.LoadFromFile(path());

    Status status = Status::success();
    {
        const FileSizeLimit limit(old.size() + 16);
        ASSERT_TRUE(limit.active());
        status = ini.SaveToFile(path());
    }
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(status.text().startsWith(QStringLiteral("Unable to write to ") + path()))
        << status.text().toStdString();
    EXPECT_EQ(testfiles::read(path()), old);
    // No half-written temporary file is left beside it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("quillon2.ini")});
}

TEST_F(SettingsFile, ReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    const QByteArray old = "[Info]\nCardName=42\n";
    testfiles::write(path(), old);
    TIni ini;
    ini.LoadFromFile(path());
    ASSERT_TRUE(
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const Status status = ini.SaveToFile(path());
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(status.text().startsWith(QStringLiteral("Unable to write to ") + path()));
    EXPECT_EQ(testfiles::read(path()), old);
}

} // namespace
