// Where the settings file goes: the per-user product folder when it exists,
// beside the executable otherwise, and the per-user folder after all when the
// executable's folder takes no files.
#include "settings/core/SettingsLocation.h"

#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class SettingsLocationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_hadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    }

    void TearDown() override
    {
        if (m_hadConfigHome)
            qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString configHome() const { return m_home.filePath(QStringLiteral("config")); }
    QString productFolder() const { return configHome() + QStringLiteral("/Vornik/Quillon2"); }
    QString programFolder() const { return m_program.path(); }

    QTemporaryDir m_home;
    QTemporaryDir m_program;

private:
    bool m_hadConfigHome = false;
    QByteArray m_savedConfigHome;
};

TEST_F(SettingsLocationTest, FoldersFollowTheUserConfigFolder)
{
    EXPECT_EQ(SettingsLocation::GetSpecialFolder(), configHome());
    EXPECT_EQ(SettingsLocation::GetSettingsFolder(), productFolder());
}

TEST_F(SettingsLocationTest, ExistingProductFolderHoldsTheFile)
{
    ASSERT_TRUE(QDir().mkpath(productFolder()));
    EXPECT_EQ(SettingsLocation::SettingsFileName(programFolder() + QStringLiteral("/quillon2")),
              productFolder() + QStringLiteral("/quillon2.ini"));
}

TEST_F(SettingsLocationTest, WithoutProductFolderTheFileSitsBesideTheProgram)
{
    const struct
    {
        const char* executable;
        const char* settings;
    } cases[] = {{"quillon2", "quillon2.ini"},
                 {"quillon2.bin", "quillon2.ini"},
                 {"quillon.2.exe", "quillon.2.ini"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsLocation::SettingsFileName(programFolder() + QLatin1Char('/') +
                                                     QString::fromUtf8(c.executable)),
                  programFolder() + QLatin1Char('/') + QString::fromUtf8(c.settings))
            << c.executable;
    }
    // Choosing a place never creates the product folder by itself.
    EXPECT_FALSE(QFileInfo::exists(productFolder()));
}

TEST_F(SettingsLocationTest, ProgramFolderWithoutWriteAccessGetsTheProductFolder)
{
    // A "folder" that is a regular file takes no new files, whoever asks.
    const QString blocked = m_program.filePath(QStringLiteral("blocked"));
    testfiles::write(blocked, "not a folder");
    EXPECT_EQ(SettingsLocation::SettingsFileName(blocked + QStringLiteral("/quillon2")),
              productFolder() + QStringLiteral("/quillon2.ini"));
    EXPECT_TRUE(QFileInfo(productFolder()).isDir());
}

TEST_F(SettingsLocationTest, ReadOnlyProgramFolderGetsTheProductFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    ASSERT_TRUE(
        QFile::setPermissions(programFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString file =
        SettingsLocation::SettingsFileName(programFolder() + QStringLiteral("/quillon2"));
    QFile::setPermissions(programFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(file, productFolder() + QStringLiteral("/quillon2.ini"));
}

} // namespace
