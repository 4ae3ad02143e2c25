#include "settings/ui/TFaxStartConfigForm.h"

#include "app/core/Prompter.h"
#include "crypto/core/CryptoUtils.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/ui/LanguageController.h"
#include "settings/core/TIni.h"
#include "settings/ui/TFaxOptionsForm.h"
#include "settings/ui/TFaxStartConfigFTForm.h"
#include "settings/ui/WizardPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

const QStringList TFaxStartConfigForm::kPageNames{
    QStringLiteral("SelLang"), QStringLiteral("ClientInfo"), QStringLiteral("EmailServer1"),
    QStringLiteral("EmailServer2"), QStringLiteral("Finish")};

namespace {

const QString kSelLang = QStringLiteral("SelLang");
const QString kClientInfo = QStringLiteral("ClientInfo");
const QString kEmailServer1 = QStringLiteral("EmailServer1");
const QString kEmailServer2 = QStringLiteral("EmailServer2");
const QString kFinish = QStringLiteral("Finish");

constexpr int kMinPort = 1;
constexpr int kMaxPort = 65535;
constexpr int kInitialPort = 25;
// The relay that hands the message to the user's e-mail client needs no
// server of ours.
constexpr int kMailClientRelay = 0;
constexpr int kPageWidth = 380;

template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QWidget* buddy = nullptr)
{
    auto* result = named<QLabel>(parent, name);
    result->setText(QString::fromUtf8(text));
    result->setBuddy(buddy);
    return result;
}

QLabel* heading(QWidget* parent, const char* name, const char* text)
{
    QLabel* result = label(parent, name, text);
    QFont font = result->font();
    font.setBold(true);
    result->setFont(font);
    result->setWordWrap(true);
    return result;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* result = named<QPushButton>(parent, name);
    result->setText(QString::fromUtf8(caption));
    result->setAutoDefault(false);
    return result;
}

QWidget* page(const QString& name, QLabel* (*makeHeading)(QWidget*), QFormLayout*& form)
{
    auto* result = new QWidget;
    result->setObjectName(name);
    auto* layout = new QVBoxLayout(result);
    layout->addWidget(makeHeading(result));
    form = new QFormLayout;
    layout->addLayout(form);
    layout->addStretch();
    return result;
}

} // namespace

TFaxStartConfigForm::TFaxStartConfigForm(TIni& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_prompter(prompter)
{
    setObjectName(QStringLiteral("FaxStartConfigForm"));
    setWindowTitle(QStringLiteral("Quillon2 Start Configuration"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    Image1 = named<QLabel>(this, "Image1");
    Image1->setPixmap(WizardPicture::paint());
    Image1->setFixedSize(WizardPicture::kSize);

    NB = named<QStackedWidget>(this, "NB");
    NB->addWidget(buildSelLangPage());
    NB->addWidget(buildClientInfoPage());
    NB->addWidget(buildEmailServer1Page());
    NB->addWidget(buildEmailServer2Page());
    NB->addWidget(buildFinishPage());
    NB->setFixedWidth(kPageWidth);

    auto* separator = named<QFrame>(this, "Bevel1");
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addWidget(NB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator);
    layout->addLayout(buildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connectHandlers();
    NBPageChanged();
    // The language list is filled from the language manager, not translated.
    new LanguageController(this, QStringLiteral("FaxStartConfigForm"),
                           {QStringLiteral("ComboBox1.items")});
}

TFaxStartConfigForm::~TFaxStartConfigForm() = default;

QWidget* TFaxStartConfigForm::buildSelLangPage()
{
    QFormLayout* form = nullptr;
    QWidget* result = page(
        kSelLang,
        [](QWidget* p) {
            return heading(p, "Label1", "Welcome to wizard starting configuration!");
        },
        form);
    ComboBox1 = named<QComboBox>(result, "ComboBox1");
    form->addRow(label(result, "Label2", "Select program language:", ComboBox1));
    form->addRow(ComboBox1);
    return result;
}

QWidget* TFaxStartConfigForm::buildClientInfoPage()
{
    QFormLayout* form = nullptr;
    QWidget* result = page(
        kClientInfo, [](QWidget* p) { return heading(p, "Label3", "Enter client information:"); },
        form);
    edCardName = named<QLineEdit>(result, "edCardName");
    edCardPasswordHash = named<QLineEdit>(result, "edCardPasswordHash");
    edCardPasswordHash->setEchoMode(QLineEdit::Password);
    edReplyAddress = named<QLineEdit>(result, "edReplyAddress");
    form->addRow(label(result, "lbCardName", "Card number:", edCardName), edCardName);
    form->addRow(label(result, "lbCardPasswordHash", "PIN:", edCardPasswordHash),
                 edCardPasswordHash);
    form->addRow(label(result, "lbReplyAddress", "Reply address:", edReplyAddress), edReplyAddress);
    return result;
}

QWidget* TFaxStartConfigForm::buildEmailServer1Page()
{
    QFormLayout* form = nullptr;
    QWidget* result = page(
        kEmailServer1,
        [](QWidget* p) { return heading(p, "Label6", "Choose your EMail Relay type:"); }, form);
    cbEMailSendMethod = named<QComboBox>(result, "cbEMailSendMethod");
    cbEMailSendMethod->addItems({QStringLiteral("Email client"), QStringLiteral("Internal"),
                                 QStringLiteral("Email client (file)")});
    form->addRow(label(result, "lbEMailSendMethod", "Relay type:", cbEMailSendMethod),
                 cbEMailSendMethod);
    return result;
}

QWidget* TFaxStartConfigForm::buildEmailServer2Page()
{
    QFormLayout* form = nullptr;
    QWidget* result = page(
        kEmailServer2,
        [](QWidget* p) { return heading(p, "Label5", "Enter EMail configuration information:"); },
        form);
    edEMailServer = named<QLineEdit>(result, "edEMailServer");
    seEMailServerPort = named<QSpinBox>(result, "seEMailServerPort");
    seEMailServerPort->setRange(kMinPort, kMaxPort);
    seEMailServerPort->setValue(kInitialPort);
    cbEMailServerRequreSSL = named<QCheckBox>(result, "cbEMailServerRequreSSL");
    cbEMailServerRequreSSL->setText(QStringLiteral("SSL"));
    cbEMailAuth = named<QCheckBox>(result, "cbEMailAuth");
    cbEMailAuth->setText(QStringLiteral("Auth on email server"));
    edEMailName = named<QLineEdit>(result, "edEMailName");
    edEMailPass = named<QLineEdit>(result, "edEMailPass");
    edEMailPass->setEchoMode(QLineEdit::Password);
    lbEMailName = label(result, "lbEMailName", "Name:", edEMailName);
    lbEMailPass = label(result, "lbEMailPass", "Password:", edEMailPass);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(seEMailServerPort);
    portRow->addWidget(cbEMailServerRequreSSL);
    portRow->addStretch();
    form->addRow(label(result, "lbEMailServer", "Host Name or IP email server:", edEMailServer),
                 edEMailServer);
    form->addRow(label(result, "lbEMailServerPort", "Email server port:", seEMailServerPort),
                 portRow);
    form->addRow(cbEMailAuth);
    form->addRow(lbEMailName, edEMailName);
    form->addRow(lbEMailPass, edEMailPass);
    return result;
}

QWidget* TFaxStartConfigForm::buildFinishPage()
{
    QFormLayout* form = nullptr;
    return page(
        kFinish,
        [](QWidget* p) {
            return heading(p, "Label4",
                           "Wizard starting configuration complete!\n"
                           "Open any document and print it to \"Fax Printer\"!");
        },
        form);
}

QLayout* TFaxStartConfigForm::buildButtons()
{
    btFromText = button(this, "btFromText", "Import");
    btPrev = button(this, "btPrev", "Prev");
    btNext = button(this, "btNext", "Next");
    btNext->setDefault(true);
    btCancel = button(this, "btCancel", "Cancel");
    auto* row = new QHBoxLayout;
    row->addWidget(btFromText);
    row->addStretch();
    row->addWidget(btPrev);
    row->addWidget(btNext);
    row->addWidget(btCancel);
    return row;
}

void TFaxStartConfigForm::connectHandlers()
{
    connect(btPrev, &QPushButton::clicked, this, &TFaxStartConfigForm::btPrevClick);
    connect(btNext, &QPushButton::clicked, this, &TFaxStartConfigForm::btNextClick);
    connect(btCancel, &QPushButton::clicked, this, &TFaxStartConfigForm::btCancelClick);
    connect(btFromText, &QPushButton::clicked, this, &TFaxStartConfigForm::btFromTextClick);
    connect(NB, &QStackedWidget::currentChanged, this, &TFaxStartConfigForm::NBPageChanged);
    // Only a choice of the user switches the language, not the filling of the list.
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this,
            &TFaxStartConfigForm::ComboBox1Change);
    // toggled, not clicked: a state set from the settings runs the handler
    // just as a click does.
    connect(cbEMailAuth, &QCheckBox::toggled, this, &TFaxStartConfigForm::cbEMailAuthClick);
    connect(cbEMailServerRequreSSL, &QCheckBox::toggled, this,
            &TFaxStartConfigForm::cbEMailServerRequreSSLClick);
}

void TFaxStartConfigForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFaxStartConfigForm::FormShow()
{
    FillFromSettings();
    ShowPage(kSelLang);
    FillLanguageList();
    cbEMailAuthClick();
}

void TFaxStartConfigForm::FillLanguageList()
{
    const LanguageManager& languages = LanguageManager::instance();
    ComboBox1->clear();
    for (int i = 0; i < languages.languageCount(); ++i)
        ComboBox1->addItem(languages.languageName(i), languages.languageId(i));
    SelectCurrentLanguage();
}

void TFaxStartConfigForm::SelectCurrentLanguage()
{
    ComboBox1->setCurrentIndex(ComboBox1->findData(LanguageManager::instance().currentLanguage()));
}

void TFaxStartConfigForm::FillFromSettings()
{
    const TIni& s = m_settings;
    edEMailName->setText(s.EMailName);
    edEMailServer->setText(s.EMailServer);
    seEMailServerPort->setValue(cbEMailServerRequreSSL->isChecked() ? s.EMailServerSSLPort
                                                                    : s.EMailServerPort);
    edEMailPass->setText(s.EMailPass);
    cbEMailAuth->setChecked(s.EMailAuth);
    edCardName->setText(s.CardName);
    edCardPasswordHash->setText(TFaxOptionsForm::kPinPlaceholder);
    edReplyAddress->setText(s.ReplyAddress);
    const int relay = s.EMailSendMethod;
    cbEMailSendMethod->setCurrentIndex(relay < cbEMailSendMethod->count() ? relay : -1);
    // Last: a change runs the handler, which shows the port of the SSL setting.
    cbEMailServerRequreSSL->setChecked(s.EMailServerRequreSSL);
}

void TFaxStartConfigForm::StoreToSettings()
{
    TIni& s = m_settings;
    const bool ssl = cbEMailServerRequreSSL->isChecked();
    s.EMailName = edEMailName->text();
    s.EMailServer = edEMailServer->text();
    if (ssl)
        s.EMailServerSSLPort = seEMailServerPort->value();
    else
        s.EMailServerPort = seEMailServerPort->value();
    s.EMailPass = edEMailPass->text();
    s.EMailAuth = cbEMailAuth->isChecked();
    s.CardName = edCardName->text();
    const QString pin = edCardPasswordHash->text();
    if (pin != TFaxOptionsForm::kPinPlaceholder) {
        QString digest;
        s.CardPasswordHash = HashString(HASH_MD5, pin, digest) == HASH_OK ? digest : QString();
    }
    s.ReplyAddress = edReplyAddress->text();
    // No relay chosen (a stored value the list does not know): keep it.
    if (cbEMailSendMethod->currentIndex() >= 0)
        s.EMailSendMethod = static_cast<quint8>(cbEMailSendMethod->currentIndex());
    s.EMailServerRequreSSL = ssl;
    s.LanguageID = LanguageManager::instance().currentLanguage();
}

void TFaxStartConfigForm::ImportText(const QStringList& lines)
{
    m_settings.LoadFromStrings(lines);
    FillFromSettings();
}

QString TFaxStartConfigForm::ActivePageName() const
{
    return NB->currentWidget()->objectName();
}

void TFaxStartConfigForm::ShowPage(const QString& name)
{
    NB->setCurrentIndex(kPageNames.indexOf(name));
}

bool TFaxStartConfigForm::RelayNeedsServer() const
{
    return cbEMailSendMethod->currentIndex() != kMailClientRelay;
}

void TFaxStartConfigForm::btNextClick()
{
    const QString current = ActivePageName();
    if (current == kSelLang)
        ShowPage(kClientInfo);
    else if (current == kClientInfo)
        ShowPage(kEmailServer1);
    else if (current == kEmailServer1)
        ShowPage(RelayNeedsServer() ? kEmailServer2 : kFinish);
    else if (current == kEmailServer2)
        ShowPage(kFinish);
    else
        accept();
}

void TFaxStartConfigForm::btPrevClick()
{
    const QString current = ActivePageName();
    if (current == kClientInfo)
        ShowPage(kSelLang);
    else if (current == kEmailServer1)
        ShowPage(kClientInfo);
    else if (current == kEmailServer2)
        ShowPage(kEmailServer1);
    else if (current == kFinish)
        ShowPage(RelayNeedsServer() ? kEmailServer2 : kEmailServer1);
}

void TFaxStartConfigForm::NBPageChanged()
{
    btPrev->setEnabled(ActivePageName() != kSelLang);
    btNext->setEnabled(true);
}

void TFaxStartConfigForm::ComboBox1Change(int index)
{
    const int relay = cbEMailSendMethod->currentIndex();
    LanguageManager& languages = LanguageManager::instance();
    const Status switched = languages.setCurrentLanguage(ComboBox1->itemData(index).toInt());
    if (!switched.ok()) {
        SelectCurrentLanguage();
        m_prompter.showError(switched.text());
    }
    if (m_settings.LanguageID != languages.currentLanguage())
        m_settings.LanguageID = languages.currentLanguage();
    cbEMailSendMethod->setCurrentIndex(relay);
}

void TFaxStartConfigForm::cbEMailAuthClick()
{
    const bool auth = cbEMailAuth->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(lbEMailName), static_cast<QWidget*>(edEMailName),
                            static_cast<QWidget*>(lbEMailPass), static_cast<QWidget*>(edEMailPass)})
        widget->setEnabled(auth);
}

void TFaxStartConfigForm::cbEMailServerRequreSSLClick()
{
    seEMailServerPort->setValue(cbEMailServerRequreSSL->isChecked() ? m_settings.EMailServerSSLPort
                                                                    : m_settings.EMailServerPort);
}

void TFaxStartConfigForm::btCancelClick()
{
    const Prompter::Answer answer =
        m_prompter.ask(Prompter::Icon::Question, Prompter::Buttons::YesNo,
                       LangConst(QStringLiteral("SStartConfigExit")));
    if (answer == Prompter::Answer::Yes)
        reject();
}

void TFaxStartConfigForm::btFromTextClick()
{
    TFaxStartConfigFTForm import(m_prompter, this);
    if (import.exec() == QDialog::Accepted)
        ImportText(import.Lines());
}

void TFaxStartConfigForm::keyPressEvent(QKeyEvent* event)
{
    // Escape asks like Cancel; only the close box leaves without a question.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        btCancelClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFaxStartConfigForm::done(int result)
{
    if (result == QDialog::Accepted)
        StoreToSettings();
    QDialog::done(result);
}

bool RunStartWizard(TIni& settings, Prompter& prompter, QWidget* parent)
{
    TFaxStartConfigForm wizard(settings, prompter, parent);
    return wizard.exec() == QDialog::Accepted;
}
