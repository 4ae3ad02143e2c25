// A window's texts follow the language in force: every caption, hint and list
// item is translated from the window's section, a switch re-translates open
// windows at once, later windows start in the language in force, and going
// back to English restores the built-in texts.
#include "i18n/ui/LanguageController.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/ui/QtDialogTranslator.h"

#include "tests/support/TestFiles.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QByteArray kFrench = "LANGID=1036\n"
                           "[TestForm]\n"
                           "TestForm.windowTitle=Essai\n"
                           "lbName.text=Nom :\n"
                           "btGo.text=Aller\n"
                           "btGo.toolTip=Aller\\nmaintenant\n"
                           "cbRelay.items=Client|Interne\n"
                           "gbBox.title=Boite\n"
                           "acSend.text=Envoyer\n"
                           "acSend.statusTip=Envoie la page\n"
                           "mnFile.title=Fichier\n"
                           "tabs.tabs=Un|Deux\n"
                           "edNumber.placeholderText=numero\n"
                           "lbFree.text=ignored\n"
                           "[ChildForm]\n"
                           "lbChild.text=Enfant\n"
                           "[$CONSTANTS]\n"
                           "SApplyMessage=Appliquer ?\n";

template <typename T> T* add(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    if (parent->layout())
        parent->layout()->addWidget(widget);
    return widget;
}

// A window with one of each kind of text.
class TestForm : public QDialog
{
public:
    TestForm()
    {
        setObjectName("TestForm");
        setWindowTitle("Test");
        new QVBoxLayout(this);
        lbName = add<QLabel>(this, "lbName");
        lbName->setText("Name:");
        btGo = add<QPushButton>(this, "btGo");
        btGo->setText("Go");
        btGo->setToolTip("Go now");
        cbRelay = add<QComboBox>(this, "cbRelay");
        cbRelay->addItems({"Client", "Internal", "File"});
        cbRelay->setCurrentIndex(2);
        gbBox = add<QGroupBox>(this, "gbBox");
        gbBox->setTitle("Box");
        edNumber = add<QLineEdit>(this, "edNumber");
        edNumber->setText("555"); // data, never translated
        edNumber->setPlaceholderText("number");
        tabs = add<QTabWidget>(this, "tabs");
        tabs->addTab(new QWidget, "One");
        tabs->addTab(new QWidget, "Two");
        mnFile = add<QMenu>(this, "mnFile");
        mnFile->setTitle("File");
        acSend = new QAction("Send", this);
        acSend->setObjectName("acSend");
        acSend->setStatusTip("Sends the page");
        lbFree = add<QLabel>(this, "lbFree");
        lbFree->setText("free");
        auto* unnamed = add<QLabel>(this, "");
        unnamed->setText("no name");
        child = new QDialog(this);
        child->setObjectName("ChildForm");
        lbChild = add<QLabel>(child, "lbChild");
        lbChild->setText("Child");
        new LanguageController(child, "ChildForm");
        controller = new LanguageController(this, "TestForm", {"lbFree"});
    }

    QLabel* lbName;
    QPushButton* btGo;
    QComboBox* cbRelay;
    QGroupBox* gbBox;
    QLineEdit* edNumber;
    QTabWidget* tabs;
    QMenu* mnFile;
    QAction* acSend;
    QLabel* lbFree;
    QDialog* child;
    QLabel* lbChild;
    LanguageController* controller;
};

class LanguageSwitch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testfiles::write(m_dir.filePath("french.lng"), kFrench);
        manager().registerLanguageFiles(m_dir.path());
    }
    void TearDown() override
    {
        manager().setCurrentLanguage(LanguageManager::kBuiltInLanguage);
        QTemporaryDir empty;
        manager().registerLanguageFiles(empty.path());
    }
    static LanguageManager& manager() { return LanguageManager::instance(); }

    QTemporaryDir m_dir;
};

QStringList items(const QComboBox* box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i)
        result << box->itemText(i);
    return result;
}

TEST_F(LanguageSwitch, EntriesNameEveryTextOfTheWindow)
{
    TestForm form;
    QStringList keys;
    for (const auto& entry : form.controller->entries())
        keys << entry.key + "=" + entry.builtIn;
    EXPECT_EQ(keys, (QStringList{"TestForm.windowTitle=Test", "lbName.text=Name:", "btGo.text=Go",
                                 "btGo.toolTip=Go now", "cbRelay.items=Client|Internal|File",
                                 "gbBox.title=Box", "edNumber.placeholderText=number",
                                 "tabs.tabs=One|Two", "mnFile.title=File", "acSend.text=Send",
                                 "acSend.statusTip=Sends the page"}));
}

TEST_F(LanguageSwitch, OpenWindowIsRetranslatedAndRestored)
{
    TestForm form;
    ASSERT_TRUE(manager().setCurrentLanguage(1036).ok());

    EXPECT_EQ(form.windowTitle(), "Essai");
    EXPECT_EQ(form.lbName->text(), "Nom :");
    EXPECT_EQ(form.btGo->text(), "Aller");
    EXPECT_EQ(form.btGo->toolTip(), "Aller\nmaintenant");
    // Fewer translated items than items: the rest stay English; the
    // selection is kept.
    EXPECT_EQ(items(form.cbRelay), (QStringList{"Client", "Interne", "File"}));
    EXPECT_EQ(form.cbRelay->currentIndex(), 2);
    EXPECT_EQ(form.gbBox->title(), "Boite");
    EXPECT_EQ(form.acSend->text(), "Envoyer");
    EXPECT_EQ(form.acSend->statusTip(), "Envoie la page");
    EXPECT_EQ(form.mnFile->title(), "Fichier");
    EXPECT_EQ(form.tabs->tabText(1), "Deux");
    EXPECT_EQ(form.edNumber->text(), "555");
    EXPECT_EQ(form.edNumber->placeholderText(), "numero");
    EXPECT_EQ(form.lbFree->text(), "free");    // on the window's untranslated list
    EXPECT_EQ(form.lbChild->text(), "Enfant"); // from the child's own section
    EXPECT_EQ(LangConst("SApplyMessage"), "Appliquer ?");

    ASSERT_TRUE(manager().setCurrentLanguage(1033).ok());
    EXPECT_EQ(form.windowTitle(), "Test");
    EXPECT_EQ(form.lbName->text(), "Name:");
    EXPECT_EQ(form.btGo->toolTip(), "Go now");
    EXPECT_EQ(items(form.cbRelay), (QStringList{"Client", "Internal", "File"}));
    EXPECT_EQ(form.mnFile->title(), "File");
    EXPECT_EQ(form.lbChild->text(), "Child");
    EXPECT_EQ(LangConst("SApplyMessage"), "Apply page change?");
}

TEST_F(LanguageSwitch, WindowCreatedLaterStartsInTheLanguageInForce)
{
    ASSERT_TRUE(manager().setCurrentLanguage(1036).ok());
    TestForm form;
    EXPECT_EQ(form.btGo->text(), "Aller");
    // The English texts were taken before translating: back to English works.
    ASSERT_TRUE(manager().setCurrentLanguage(1033).ok());
    EXPECT_EQ(form.btGo->text(), "Go");
}

TEST_F(LanguageSwitch, TextSetByTheProgramIsLeftAlone)
{
    TestForm form;
    form.lbName->setText("Page 3 of 7");
    form.cbRelay->clear();
    form.cbRelay->addItems({"Deutsch", "English"});
    ASSERT_TRUE(manager().setCurrentLanguage(1036).ok());
    EXPECT_EQ(form.lbName->text(), "Page 3 of 7");
    EXPECT_EQ(items(form.cbRelay), (QStringList{"Deutsch", "English"}));
    EXPECT_EQ(form.btGo->text(), "Aller");
}

TEST_F(LanguageSwitch, QtDialogTextsFollowRussian)
{
    testfiles::write(m_dir.filePath("russian.lng"), "LANGID=1049\n");
    manager().registerLanguageFiles(m_dir.path());
    QtDialogTranslator translator;
    EXPECT_FALSE(translator.isInstalled());
    ASSERT_TRUE(manager().setCurrentLanguage(1049).ok());
    EXPECT_TRUE(translator.isInstalled());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
    ASSERT_TRUE(manager().setCurrentLanguage(1033).ok());
    EXPECT_FALSE(translator.isInstalled());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

} // namespace
