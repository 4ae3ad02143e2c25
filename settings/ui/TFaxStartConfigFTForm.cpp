#include "settings/ui/TFaxStartConfigFTForm.h"

#include "app/core/Prompter.h"
#include "i18n/core/LanguageNames.h"
#include "i18n/core/Utf8Text.h"
#include "i18n/ui/LanguageController.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString TFaxStartConfigFTForm::kFileFilter =
    QStringLiteral("Configurations files (*.ini);;All files (*.*)");

namespace {

constexpr int kMemoWidth = 520;
constexpr int kMemoHeight = 360;

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* result = new QPushButton(QString::fromUtf8(caption), parent);
    result->setObjectName(QLatin1String(name));
    result->setAutoDefault(false);
    return result;
}

// Settings files are UTF-8; one written by an older version is 8-bit text
// in the code page of the user's language.
QString decodeConfiguration(const QByteArray& bytes)
{
    if (const auto text = Utf8Text::decodeStrict(bytes))
        return *text;
    return LanguageNames::decodeAnsi(bytes, SystemDefaultLanguageId());
}

} // namespace

TFaxStartConfigFTForm::TFaxStartConfigFTForm(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("FaxStartConfigFTForm"));
    setWindowTitle(QStringLiteral("Configuration as text"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFamilies({QStringLiteral("Courier New"),
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    Memo1->setFont(font);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFixedSize(kMemoWidth, kMemoHeight);

    btFromText = button(this, "btFromText", "From File");
    btNext = button(this, "btNext", "OK");
    btNext->setDefault(true);
    btCancel = button(this, "btCancel", "Cancel");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btFromText);
    buttons->addStretch();
    buttons->addWidget(btNext);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btNext, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btFromText, &QPushButton::clicked, this, &TFaxStartConfigFTForm::btFromTextClick);
    new LanguageController(this, QStringLiteral("FaxStartConfigFTForm"));
}

Status TFaxStartConfigFTForm::LoadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Status::failure(
            QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    Memo1->setPlainText(decodeConfiguration(bytes));
    return Status::success();
}

QStringList TFaxStartConfigFTForm::Lines() const
{
    QString text = Memo1->toPlainText();
    text.replace(QLatin1Char('\r'), QString());
    return text.split(QLatin1Char('\n'));
}

void TFaxStartConfigFTForm::btFromTextClick()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter);
    if (path.isEmpty())
        return;
    const Status loaded = LoadFile(path);
    if (!loaded.ok())
        m_prompter.showError(loaded.text());
}
