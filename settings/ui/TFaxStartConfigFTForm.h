#pragma once

#include "app/core/Status.h"

#include <QDialog>
#include <QStringList>

class Prompter;
class QPlainTextEdit;
class QPushButton;

// "Configuration as text": a whole configuration pasted or loaded from a
// file as INI text. Nothing is parsed here; the wizard reads the lines after
// OK.
class TFaxStartConfigFTForm : public QDialog
{
    Q_OBJECT

public:
    static const QString kFileFilter;

    explicit TFaxStartConfigFTForm(Prompter& prompter, QWidget* parent = nullptr);

    // Replaces the whole text with the file's content; the text stays as it
    // was when the file cannot be read.
    Status LoadFile(const QString& path);
    QStringList Lines() const;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* btNext = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btFromText = nullptr;

public Q_SLOTS:
    void btFromTextClick();

private:
    Prompter& m_prompter;
};
