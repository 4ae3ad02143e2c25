#pragma once

#include "app/core/Status.h"

#include <QChar>
#include <QString>
#include <QStringList>

class IniFile;
class PrinterService;

// The one settings object of the process. Every field is named after its key
// in the settings file; LoadFromFile and LoadFromStrings replace every field
// (a key that is not given takes its default), SaveToFile writes them all back.
// Until the first load the fields hold zero or empty.
class TIni
{
public:
    // printers may be null: then the process has no printer to remember.
    explicit TIni(PrinterService* printers = nullptr);

    void LoadFromFile(const QString& fileName);
    // Configuration text pasted or loaded in the start wizard.
    void LoadFromStrings(const QStringList& lines);
    // Writes the whole file or nothing: the old file stays as it was when
    // the new one cannot be written completely.
    Status SaveToFile(const QString& fileName) const;

    void ReadSettings(const IniFile& source);
    void WriteSettings(IniFile& target) const;

    // Puts the number at the top of the history, moving it there when it is
    // already listed, and keeps at most HistoryCount entries.
    void AddFaxNumberToHistory(const QString& number);

    // Empty when no printer is installed.
    QString CurrentPrinterName() const;
    // Makes the printer with exactly this name current; unknown names are ignored.
    void SelectPrinter(const QString& name);

    // List values are one line: items joined with ";", each item escaped so
    // that a ";" inside it survives ("#" -> "#23", special -> "#3B").
    static QString EscapeValue(const QString& text, QChar special);
    // "#" and two hexadecimal digits become that byte; invalid digits a blank.
    static QString UnescapeValue(const QString& text);
    static QStringList ReadList(const IniFile& source, const QString& section, const QString& key);
    static void WriteList(IniFile& target, const QString& section, const QString& key,
                          const QStringList& items);

    // Email
    QString EMailName;
    QString EMailServer;
    bool EMailAuth = false;
    // Common
    int HistoryCount = 0;
    // Info
    QString CardName;
    QString CardPasswordHash;
    QString ReplyAddress;
    // Email
    QString EMailPass;
    int EMailServerPort = 0;
    int EMailServerSSLPort = 0;
    // Common
    QStringList LastFaxNumbers;
    quint8 EMailSendMethod = 0;
    int LanguageID = 0;
    // Info
    int PassMode = 0;
    // Common
    int OutputDPI = 0;
    bool ChangeOutputDPI = false;
    // Draw; colours are 0x00BBGGRR
    int BrushStyle = 0;
    int PenWidth = 0;
    quint32 PenColor = 0;
    int PenStyle = 0;
    int FontSize = 0;
    QString FontName;
    quint32 BrushColor = 0;
    // Common
    bool MakeCopyToPrinter = false;
    // PrintPreview
    int MarginLeft = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    int MarginTop = 0;
    int PrintSize = 0;
    int PrintAlign = 0;
    // The file last read by LoadFromFile; not stored.
    QString FileName;
    // Email
    bool EMailServerRequreFQN = false;
    bool EMailServerRequreSSL = false;
    // Off only for a server whose certificate cannot be checked (a self-signed
    // one on the local network); the connection is still encrypted.
    bool EMailServerVerifySSL = false;

private:
    void ReadEmail(const IniFile& source);
    void ReadCommon(const IniFile& source);
    void ReadInfo(const IniFile& source);
    void ReadDraw(const IniFile& source);
    void ReadPrintPreview(const IniFile& source);
    void SelectStoredPrinter(const QString& name);

    void WriteEmail(IniFile& target) const;
    void WriteCommon(IniFile& target) const;
    void WriteInfo(IniFile& target) const;
    void WriteDraw(IniFile& target) const;
    void WritePrintPreview(IniFile& target) const;

    PrinterService* m_printers = nullptr; // not owned
};
