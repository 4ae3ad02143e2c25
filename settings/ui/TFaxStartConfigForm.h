#pragma once

#include <QDialog>
#include <QStringList>

class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TIni;

// The start configuration wizard: language, client account, e-mail relay
// and, for the relays that need one, the e-mail server. Its controls are
// filled from the settings when it is shown and stored back only when it
// ends with OK; an import replaces the settings at once.
class TFaxStartConfigForm : public QDialog
{
    Q_OBJECT

public:
    // Page names, in page order.
    static const QStringList kPageNames;

    TFaxStartConfigForm(TIni& settings, Prompter& prompter, QWidget* parent = nullptr);
    ~TFaxStartConfigForm() override;

    void FillFromSettings();
    void StoreToSettings();
    // Reads a configuration text into the settings and shows the result.
    void ImportText(const QStringList& lines);

    // The name of the page on show ("SelLang" ...).
    QString ActivePageName() const;

    QLabel* Image1 = nullptr;
    QStackedWidget* NB = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* edCardName = nullptr;
    QLineEdit* edCardPasswordHash = nullptr;
    QLineEdit* edReplyAddress = nullptr;
    QComboBox* cbEMailSendMethod = nullptr;
    QLineEdit* edEMailServer = nullptr;
    QSpinBox* seEMailServerPort = nullptr;
    QCheckBox* cbEMailServerRequreSSL = nullptr;
    QCheckBox* cbEMailAuth = nullptr;
    QLabel* lbEMailName = nullptr;
    QLineEdit* edEMailName = nullptr;
    QLabel* lbEMailPass = nullptr;
    QLineEdit* edEMailPass = nullptr;
    QPushButton* btFromText = nullptr;
    QPushButton* btPrev = nullptr;
    QPushButton* btNext = nullptr;
    QPushButton* btCancel = nullptr;

public Q_SLOTS:
    void FormShow();
    void ComboBox1Change(int index);
    void btPrevClick();
    void btNextClick();
    void btCancelClick();
    void NBPageChanged();
    void cbEMailAuthClick();
    void cbEMailServerRequreSSLClick();
    void btFromTextClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Ending with OK stores the controls into the settings.
    void done(int result) override;

private:
    QWidget* buildSelLangPage();
    QWidget* buildClientInfoPage();
    QWidget* buildEmailServer1Page();
    QWidget* buildEmailServer2Page();
    QWidget* buildFinishPage();
    QLayout* buildButtons();
    void connectHandlers();
    void FillLanguageList();
    void SelectCurrentLanguage();
    bool RelayNeedsServer() const;
    void ShowPage(const QString& name);

    TIni& m_settings;
    Prompter& m_prompter;
};

// Runs the wizard on the settings; true when it ended with OK (the controls
// are then stored in the settings, which the caller writes to the file).
bool RunStartWizard(TIni& settings, Prompter& prompter, QWidget* parent = nullptr);
