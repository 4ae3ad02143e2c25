#pragma once

#include <QDialog>

class Prompter;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TIni;

// The options dialog: the client account, the e-mail relay and a few common
// settings. It edits the one settings object of the process: CopyIn fills the
// controls from it, CopyOut writes them back, and only the Clear button
// changes the settings while the dialog is open.
class TFaxOptionsForm : public QDialog
{
    Q_OBJECT

public:
    // Shown in the PIN box instead of the stored digest; any other text there
    // is a new PIN.
    static const QString kPinPlaceholder;

    explicit TFaxOptionsForm(TIni& settings, QWidget* parent = nullptr);
    ~TFaxOptionsForm() override;

    void CopyIn();
    void CopyOut();

    // The controls, by their names in the language files.
    QLineEdit* edCardName = nullptr;
    QLineEdit* edCardPasswordHash = nullptr;
    QLineEdit* edReplyAddress = nullptr;
    QComboBox* cbPassMode = nullptr;
    QComboBox* cbEMailSendMethod = nullptr;
    QLineEdit* edEMailServer = nullptr;
    QSpinBox* seEMailServerPort = nullptr;
    QCheckBox* cbEMailServerRequreSSL = nullptr;
    QCheckBox* cbEMailServerVerifySSL = nullptr;
    QCheckBox* cbEMailAuth = nullptr;
    QLabel* lbEMailName = nullptr;
    QLineEdit* edEMailName = nullptr;
    QLabel* lbEMailPass = nullptr;
    QLineEdit* edEMailPass = nullptr;
    QCheckBox* cbEMailServerRequreFQN = nullptr;
    QSpinBox* seHistoryCount = nullptr;
    QCheckBox* cbOutputDPI = nullptr;
    QSpinBox* seOutputDPI = nullptr;
    QPushButton* btClear = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

public Q_SLOTS:
    void FormShow();
    void cbEMailAuthClick();
    void btClearClick();
    void cbOutputDPIClick();
    void cbEMailServerRequreSSLClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildClientInfoGroup();
    QGroupBox* buildEmailGroup();
    QGroupBox* buildCommonGroup();
    QLayout* buildButtons();
    void connectHandlers();

    TIni& m_settings;
};

// Runs the options dialog on the settings; on OK copies the controls back and
// writes the settings file, telling the user through the prompter when it
// cannot be written. True when the user confirmed with OK.
bool ShowOptions(TIni& settings, Prompter& prompter, const QString& settingsFileName,
                 QWidget* parent = nullptr);
