#include "settings/ui/TFaxOptionsForm.h"

#include "app/core/Prompter.h"
#include "crypto/core/CryptoUtils.h"
#include "i18n/ui/LanguageController.h"
#include "settings/core/TIni.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

const QString TFaxOptionsForm::kPinPlaceholder = QStringLiteral("**********");

namespace {

constexpr int kMinPort = 1;
constexpr int kMaxPort = 65535;
constexpr int kInitialPort = 25;
constexpr int kMinOutputDpi = 100;
constexpr int kMaxOutputDpi = 600;
constexpr int kInitialOutputDpi = 300;
// The history has no upper limit of its own; a negative count means the
// same as 0 (no history), so the box starts at 0.
constexpr int kMinHistoryCount = 0;
constexpr int kMaxHistoryCount = std::numeric_limits<int>::max();

template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QWidget* buddy)
{
    auto* result = named<QLabel>(parent, name);
    result->setText(QString::fromUtf8(text));
    result->setBuddy(buddy);
    return result;
}

QSpinBox* spinBox(QWidget* parent, const char* name, int minimum, int maximum, int initial)
{
    auto* box = named<QSpinBox>(parent, name);
    box->setRange(minimum, maximum);
    box->setValue(initial);
    return box;
}

// An item index that the combo box has; otherwise no item at all, the way a
// drop-down list shows a stored value it does not know.
void selectItem(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

} // namespace

TFaxOptionsForm::TFaxOptionsForm(TIni& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("FaxOptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildClientInfoGroup());
    layout->addWidget(buildEmailGroup());
    layout->addWidget(buildCommonGroup());
    layout->addLayout(buildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connectHandlers();
    new LanguageController(this, QStringLiteral("FaxOptionsForm"));
}

TFaxOptionsForm::~TFaxOptionsForm() = default;

QGroupBox* TFaxOptionsForm::buildClientInfoGroup()
{
    auto* group = named<QGroupBox>(this, "gbClientInfo");
    group->setTitle(QStringLiteral(" Client Info: "));
    auto* form = new QFormLayout(group);

    edCardName = named<QLineEdit>(group, "edCardName");
    edCardPasswordHash = named<QLineEdit>(group, "edCardPasswordHash");
    edCardPasswordHash->setEchoMode(QLineEdit::Password);
    edReplyAddress = named<QLineEdit>(group, "edReplyAddress");
    cbPassMode = named<QComboBox>(group, "cbPassMode");
    cbPassMode->addItems({QStringLiteral("Simple"), QStringLiteral("Strong")});
    cbPassMode->setCurrentIndex(0);

    form->addRow(label(group, "lbCardName", "Card number:", edCardName), edCardName);
    form->addRow(label(group, "lbCardPasswordHash", "PIN:", edCardPasswordHash),
                 edCardPasswordHash);
    form->addRow(label(group, "lbReplyAddress", "Reply address:", edReplyAddress), edReplyAddress);
    form->addRow(label(group, "lbPassMode", "PIN Send Mode:", cbPassMode), cbPassMode);
    return group;
}

QGroupBox* TFaxOptionsForm::buildEmailGroup()
{
    auto* group = named<QGroupBox>(this, "gbEmailOptions");
    group->setTitle(QStringLiteral(" Email Options "));
    auto* form = new QFormLayout(group);

    cbEMailSendMethod = named<QComboBox>(group, "cbEMailSendMethod");
    cbEMailSendMethod->addItems({QStringLiteral("Email client"), QStringLiteral("Internal"),
                                 QStringLiteral("Email client (file)")});
    edEMailServer = named<QLineEdit>(group, "edEMailServer");
    seEMailServerPort = spinBox(group, "seEMailServerPort", kMinPort, kMaxPort, kInitialPort);
    cbEMailServerRequreSSL = named<QCheckBox>(group, "cbEMailServerRequreSSL");
    cbEMailServerRequreSSL->setText(QStringLiteral("SSL"));
    cbEMailServerVerifySSL = named<QCheckBox>(group, "cbEMailServerVerifySSL");
    cbEMailServerVerifySSL->setText(QStringLiteral("Verify server certificate"));
    cbEMailAuth = named<QCheckBox>(group, "cbEMailAuth");
    cbEMailAuth->setText(QStringLiteral("Auth on email server"));
    edEMailName = named<QLineEdit>(group, "edEMailName");
    edEMailPass = named<QLineEdit>(group, "edEMailPass");
    edEMailPass->setEchoMode(QLineEdit::Password);
    cbEMailServerRequreFQN = named<QCheckBox>(group, "cbEMailServerRequreFQN");
    cbEMailServerRequreFQN->setText(QStringLiteral("Email server requre Fully-Qualified hostName"));
    lbEMailName = label(group, "lbEMailName", "Name:", edEMailName);
    lbEMailPass = label(group, "lbEMailPass", "Password:", edEMailPass);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(seEMailServerPort);
    portRow->addWidget(cbEMailServerRequreSSL);
    portRow->addWidget(cbEMailServerVerifySSL);
    portRow->addStretch();

    form->addRow(label(group, "lbEMailSendMethod", "Relay type:", cbEMailSendMethod),
                 cbEMailSendMethod);
    form->addRow(label(group, "lbEMailServer", "Name email server:", edEMailServer), edEMailServer);
    form->addRow(label(group, "lbEMailServerPort", "Email server port:", seEMailServerPort),
                 portRow);
    form->addRow(cbEMailAuth);
    form->addRow(lbEMailName, edEMailName);
    form->addRow(lbEMailPass, edEMailPass);
    form->addRow(cbEMailServerRequreFQN);
    return group;
}

QGroupBox* TFaxOptionsForm::buildCommonGroup()
{
    auto* group = named<QGroupBox>(this, "gbCommon");
    group->setTitle(QStringLiteral(" Common "));
    auto* form = new QFormLayout(group);

    seHistoryCount = spinBox(group, "seHistoryCount", kMinHistoryCount, kMaxHistoryCount, 0);
    cbOutputDPI = named<QCheckBox>(group, "cbOutputDPI");
    cbOutputDPI->setText(QStringLiteral("DPI of output faxs:"));
    cbOutputDPI->setChecked(true);
    seOutputDPI = spinBox(group, "seOutputDPI", kMinOutputDpi, kMaxOutputDpi, kInitialOutputDpi);
    btClear = named<QPushButton>(group, "btClear");
    btClear->setText(QStringLiteral("Clear"));
    btClear->setAutoDefault(false);

    form->addRow(label(group, "lbHistoryCount", "Save out phones history (count):", seHistoryCount),
                 seHistoryCount);
    form->addRow(cbOutputDPI, seOutputDPI);
    form->addRow(label(group, "lbClear", "Clear out phones history:", btClear), btClear);
    return group;
}

QLayout* TFaxOptionsForm::buildButtons()
{
    btOK = named<QPushButton>(this, "btOK");
    btOK->setText(QStringLiteral("OK"));
    btOK->setDefault(true);
    btCancel = named<QPushButton>(this, "btCancel");
    btCancel->setText(QStringLiteral("Cancel"));
    btCancel->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btOK);
    row->addWidget(btCancel);
    return row;
}

void TFaxOptionsForm::connectHandlers()
{
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btClear, &QPushButton::clicked, this, &TFaxOptionsForm::btClearClick);
    // toggled, not clicked: a state set from the settings runs the handler
    // just as a click does.
    connect(cbEMailAuth, &QCheckBox::toggled, this, &TFaxOptionsForm::cbEMailAuthClick);
    connect(cbOutputDPI, &QCheckBox::toggled, this, &TFaxOptionsForm::cbOutputDPIClick);
    connect(cbEMailServerRequreSSL, &QCheckBox::toggled, this,
            &TFaxOptionsForm::cbEMailServerRequreSSLClick);
}

void TFaxOptionsForm::CopyIn()
{
    const TIni& s = m_settings;
    edEMailName->setText(s.EMailName);
    edEMailServer->setText(s.EMailServer);
    seEMailServerPort->setValue(s.EMailServerRequreSSL ? s.EMailServerSSLPort : s.EMailServerPort);
    edEMailPass->setText(s.EMailPass);
    cbEMailAuth->setChecked(s.EMailAuth);
    cbEMailServerRequreFQN->setChecked(s.EMailServerRequreFQN);
    cbEMailServerRequreSSL->setChecked(s.EMailServerRequreSSL);
    cbEMailServerVerifySSL->setChecked(s.EMailServerVerifySSL);
    cbEMailServerVerifySSL->setEnabled(s.EMailServerRequreSSL);
    edCardName->setText(s.CardName);
    // The stored digest is never shown: the placeholder stands for "keep it".
    edCardPasswordHash->setText(kPinPlaceholder);
    edReplyAddress->setText(s.ReplyAddress);
    seHistoryCount->setValue(s.HistoryCount);
    selectItem(cbEMailSendMethod, s.EMailSendMethod);
    selectItem(cbPassMode, s.PassMode);
    seOutputDPI->setValue(s.OutputDPI);
    cbOutputDPI->setChecked(s.ChangeOutputDPI);
    cbOutputDPIClick();
}

void TFaxOptionsForm::CopyOut()
{
    TIni& s = m_settings;
    s.EMailServerRequreSSL = cbEMailServerRequreSSL->isChecked();
    s.EMailName = edEMailName->text();
    s.EMailServer = edEMailServer->text();
    if (s.EMailServerRequreSSL)
        s.EMailServerSSLPort = seEMailServerPort->value();
    else
        s.EMailServerPort = seEMailServerPort->value();
    s.EMailPass = edEMailPass->text();
    s.EMailAuth = cbEMailAuth->isChecked();
    s.EMailServerRequreFQN = cbEMailServerRequreFQN->isChecked();
    s.EMailServerVerifySSL = cbEMailServerVerifySSL->isChecked();
    s.CardName = edCardName->text();
    const QString pin = edCardPasswordHash->text();
    if (pin != kPinPlaceholder) {
        QString digest;
        s.CardPasswordHash = HashString(HASH_MD5, pin, digest) == HASH_OK ? digest : QString();
    }
    s.ReplyAddress = edReplyAddress->text();
    s.HistoryCount = seHistoryCount->value();
    // A stored value the lists do not know shows no item; it is kept rather
    // than replaced by "no item" (which would name a relay that does not exist).
    if (cbEMailSendMethod->currentIndex() >= 0)
        s.EMailSendMethod = static_cast<quint8>(cbEMailSendMethod->currentIndex());
    if (cbPassMode->currentIndex() >= 0)
        s.PassMode = cbPassMode->currentIndex();
    s.OutputDPI = seOutputDPI->value();
    s.ChangeOutputDPI = cbOutputDPI->isChecked();
}

void TFaxOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFaxOptionsForm::FormShow()
{
    btClear->setEnabled(!m_settings.LastFaxNumbers.isEmpty());
    cbEMailAuthClick();
}

void TFaxOptionsForm::cbEMailAuthClick()
{
    const bool auth = cbEMailAuth->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(lbEMailName), static_cast<QWidget*>(edEMailName),
                            static_cast<QWidget*>(lbEMailPass), static_cast<QWidget*>(edEMailPass)})
        widget->setEnabled(auth);
}

void TFaxOptionsForm::btClearClick()
{
    m_settings.LastFaxNumbers.clear();
    btClear->setEnabled(false);
}

void TFaxOptionsForm::cbOutputDPIClick()
{
    seOutputDPI->setEnabled(cbOutputDPI->isChecked());
}

void TFaxOptionsForm::cbEMailServerRequreSSLClick()
{
    // The stored port of the chosen kind, not what was typed before the click.
    const bool ssl = cbEMailServerRequreSSL->isChecked();
    seEMailServerPort->setValue(ssl ? m_settings.EMailServerSSLPort : m_settings.EMailServerPort);
    cbEMailServerVerifySSL->setEnabled(ssl);
}

bool ShowOptions(TIni& settings, Prompter& prompter, const QString& settingsFileName,
                 QWidget* parent)
{
    TFaxOptionsForm form(settings, parent);
    form.CopyIn();
    if (form.exec() != QDialog::Accepted)
        return false;
    form.CopyOut();
    const Status saved = settings.SaveToFile(settingsFileName);
    if (!saved.ok())
        prompter.showError(saved.text());
    return true;
}
