#include "send/ui/TFaxSendProgressForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 420;
constexpr int kHeight = 260;
} // namespace

TFaxSendProgressForm::TFaxSendProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Sending mail"));
    setModal(false);
    Label1 = new QLabel(tr("Process:"), this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Memo1);
    setFixedSize(kWidth, kHeight);
}

QStringList TFaxSendProgressForm::statusLines() const
{
    const QString text = Memo1->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TFaxSendProgressForm::addStatus(const QString& text)
{
    Memo1->appendPlainText(text);
}

void TFaxSendProgressForm::showEvent(QShowEvent* event)
{
    Memo1->clear();
    centreOnScreen();
    QDialog::showEvent(event);
}

void TFaxSendProgressForm::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
