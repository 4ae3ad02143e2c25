#include "send/ui/TAddParamForm.h"

#include "app/core/Prompter.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/core/Utf8Text.h"
#include "i18n/ui/LanguageController.h"
#include "send/core/MessageCharset.h"
#include "send/core/MultiFaxList.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
constexpr char kDateFormat[] = "dd.MM.yyyy";
constexpr char kTimeFormat[] = "HH:mm:ss";

// Lists made on this desktop are UTF-8; lists made for the gateway elsewhere
// are often in its own character set, windows-1251.
QString listFileText(const QByteArray& bytes)
{
    if (const auto text = Utf8Text::decodeStrict(bytes))
        return *text;
    return MessageCharset::decode(bytes);
}

QString fileReadError(const QFile& file)
{
    return QStringLiteral("Cannot read \"%1\": %2").arg(file.fileName(), file.errorString());
}
} // namespace

TAddParamForm::TAddParamForm(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("AddParamForm"));
    setWindowTitle(QStringLiteral("Setting Additional Parameters"));
    // A fixed frame: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    createControls();
    layOutControls();
    cbSendDTClick();
    cbMultyFaxClick();
    // Owned by the dialog; keeps its texts in the language in force.
    new LanguageController(this, QStringLiteral("AddParamForm"));
}

TAddParamForm::~TAddParamForm() = default;

void TAddParamForm::createControls()
{
    cbSendDT = new QCheckBox(QStringLiteral("Wanted date and time for send:"), this);
    dtpDate = new QDateEdit(this);
    dtpDate->setDisplayFormat(QLatin1String(kDateFormat));
    dtpDate->setCalendarPopup(true);
    dtpTime = new QTimeEdit(this);
    dtpTime->setDisplayFormat(QLatin1String(kTimeFormat));
    cbDebug = new QCheckBox(QStringLiteral("Full report mode (debug)"), this);

    cbMultyFax = new QCheckBox(QStringLiteral("Multy address fax:"), this);
    meMultyFax = new QPlainTextEdit(this);
    meMultyFax->setLineWrapMode(QPlainTextEdit::NoWrap);
    meMultyFax->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meMultyFax->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lbMultyFax =
        new QLabel(QStringLiteral("Full text box a phone numbers. \nOne number per line."), this);
    btMultyFaxLoad = new QPushButton(QStringLiteral("Load..."), this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);

    const QList<QWidget*> named{cbSendDT,   dtpDate,    dtpTime,        cbDebug, cbMultyFax,
                                meMultyFax, lbMultyFax, btMultyFaxLoad, Button1, Button2};
    const QStringList names{"cbSendDT",   "dtpDate",    "dtpTime",        "cbDebug", "cbMultyFax",
                            "meMultyFax", "lbMultyFax", "btMultyFaxLoad", "Button1", "Button2"};
    for (int i = 0; i < named.size(); ++i)
        named[i]->setObjectName(names[i]);

    connect(cbSendDT, &QCheckBox::toggled, this, &TAddParamForm::cbSendDTClick);
    connect(cbMultyFax, &QCheckBox::toggled, this, &TAddParamForm::cbMultyFaxClick);
    connect(btMultyFaxLoad, &QPushButton::clicked, this, &TAddParamForm::btMultyFaxLoadClick);
    connect(Button1, &QPushButton::clicked, this, &TAddParamForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddParamForm::layOutControls()
{
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* pickers = new QHBoxLayout;
    pickers->addWidget(dtpDate);
    pickers->addWidget(dtpTime);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(cbSendDT);
    panelLayout->addLayout(pickers);
    panelLayout->addWidget(cbDebug);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Additional parameters:"), this));
    left->addWidget(panel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(buttons);

    // Laid out below the rest and hidden: hidden widgets take no room, so
    // the dialog keeps its small size.
    auto* multyFax = new QGridLayout;
    multyFax->addWidget(cbMultyFax, 0, 0);
    multyFax->addWidget(lbMultyFax, 1, 0);
    multyFax->addWidget(btMultyFaxLoad, 1, 1);
    multyFax->addWidget(meMultyFax, 2, 0, 1, 2);
    for (QWidget* control :
         {static_cast<QWidget*>(cbMultyFax), static_cast<QWidget*>(lbMultyFax),
          static_cast<QWidget*>(btMultyFaxLoad), static_cast<QWidget*>(meMultyFax)})
        control->hide();

    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    whole->addLayout(multyFax);
    whole->setSizeConstraint(QLayout::SetFixedSize);
}

void TAddParamForm::showModal()
{
    exec();
}

void TAddParamForm::showEvent(QShowEvent* event)
{
    FormShow(QDateTime::currentDateTime());
    QDialog::showEvent(event);
}

void TAddParamForm::FormShow(const QDateTime& now)
{
    dtpDate->setDate(now.date());
    dtpTime->setTime(now.time());
}

void TAddParamForm::cbSendDTClick()
{
    const bool wanted = cbSendDT->isChecked();
    dtpDate->setEnabled(wanted);
    dtpTime->setEnabled(wanted);
}

void TAddParamForm::cbMultyFaxClick()
{
    const bool multyFax = cbMultyFax->isChecked();
    meMultyFax->setEnabled(multyFax);
    lbMultyFax->setEnabled(multyFax);
    btMultyFaxLoad->setEnabled(multyFax);
}

QDateTime TAddParamForm::GetSendDateTime() const
{
    return QDateTime(dtpDate->date(), dtpTime->time(), Qt::LocalTime);
}

AdditionalParameters TAddParamForm::parameters() const
{
    AdditionalParameters parameters;
    if (cbSendDT->isChecked())
        parameters.sendDateTime = GetSendDateTime();
    parameters.debug = cbDebug->isChecked();
    parameters.multiFax = cbMultyFax->isChecked();
    parameters.multiFaxNumbers = multyFaxLines();
    return parameters;
}

QStringList TAddParamForm::multyFaxLines() const
{
    return MultiFaxList::linesOf(meMultyFax->toPlainText());
}

void TAddParamForm::setMultyFaxLines(const QStringList& lines)
{
    meMultyFax->setPlainText(lines.join(QLatin1Char('\n')));
}

void TAddParamForm::Button1Click()
{
    if (!cbMultyFax->isChecked()) {
        accept();
        return;
    }
    const MultiFaxList::Check check = MultiFaxList::check(multyFaxLines());
    if (!check.invalidLines.isEmpty()) {
        setMultyFaxLines(check.validLines);
        m_prompter.ask(Prompter::Icon::Question, Prompter::Buttons::Ok,
                       LangConst(QStringLiteral("SMultyFaxMessage1")) + QLatin1Char('\r') +
                           MultiFaxList::invalidLinesReport(check.invalidLines));
    }
    switch (check.verdict) {
    case MultiFaxList::Verdict::Accepted:
        accept();
        break;
    case MultiFaxList::Verdict::OnlyOne:
        m_prompter.showWarning(LangConst(QStringLiteral("SMultyFaxMessage2")));
        cbMultyFax->setFocus();
        break;
    case MultiFaxList::Verdict::Empty:
        m_prompter.showWarning(LangConst(QStringLiteral("SMultyFaxMessage")));
        meMultyFax->setFocus();
        break;
    }
}

void TAddParamForm::btMultyFaxLoadClick()
{
    const QString path = QFileDialog::getOpenFileName(this);
    if (!path.isEmpty())
        loadMultyFaxList(path);
}

void TAddParamForm::loadMultyFaxList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompter.showError(fileReadError(file));
        return;
    }
    const QString text = listFileText(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        m_prompter.showError(fileReadError(file));
        return;
    }
    if (!multyFaxLines().isEmpty() &&
        m_prompter.ask(Prompter::Icon::Question, Prompter::Buttons::YesNo,
                       LangConst(QStringLiteral("SMultyFaxMessage3"))) != Prompter::Answer::Yes)
        return;
    setMultyFaxLines(MultiFaxList::linesOf(text));
}
