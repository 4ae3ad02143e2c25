#pragma once

#include <QObject>

#include <memory>

class QTranslator;

// Follows the language in force with Qt's own texts (the buttons and labels
// of the standard file, colour, font and print dialogs), where Qt ships a
// translation for the language. Make one, owned by the application object,
// before the first window opens.
class QtDialogTranslator : public QObject
{
    Q_OBJECT

public:
    explicit QtDialogTranslator(QObject* parent = nullptr);
    ~QtDialogTranslator() override;

    // True when a translation of Qt's texts is installed now.
    bool isInstalled() const { return m_translator != nullptr; }

private:
    void follow(int languageId);

    std::unique_ptr<QTranslator> m_translator;
};
