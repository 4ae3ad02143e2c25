#include "i18n/core/LocalizedConstants.h"

const std::vector<LocalizedConstants::Entry>& LocalizedConstants::builtIn()
{
    static const std::vector<Entry> table{
        {"SAddLayerMessage", "Add a layer?"},
        {"SApplyMessage", "Apply page change?"},
        {"SDeleteSelectedImages", "Delete Selected Images?"},
        {"SDeleteSelectedStamps", "Delete Selected Stamp?"},
        {"SErrorCopyStamp",
         "Can`t copy file to stamps folder... Check user right and permissions!"},
        {"SErrorCreateStampsDir", "Error create Stamps dir! Check user right and permissions!"},
        {"SErrorFileLinkTransfer", "Error in FileLink Transfer"},
        {"SErrorInSend", "Send message error: \"%s\". Check mail settings!"},
        {"SErrorStampExists", "File \"%S\" already exists. Rewrite?"},
        {"SLayer", "Layer"},
        {"SMultyFaxMessage", "Please full multy fax phone numbers!"},
        {"SMultyFaxMessage1", "Follow phone numbers is invalid and deleted:"},
        {"SMultyFaxMessage2", "Please, specify more onel multy fax phone numbers!"},
        {"SMultyFaxMessage3", "Multy fax numbers list not empty. Override?"},
        {"SPage", "Page"},
        {"SQuerySaveAsStamps", "Please, enter name of stamps:"},
        {"SRectangle", "Rectangle: (x=%d, y=%d, w=%d ,h=%d)"},
        {"SSendFaxMessage", "Please full phone number!"},
        {"SSendFaxMessage1", "Please do not change message text!"},
        {"SSendFaxMessage2", "No pages to send!"},
        {"SSendFaxMessage3", "Please do not change message text! For sending email, select "
                             "\"Send Retry\" in your email client."},
        {"SStampsDirNotCreated", "Stamps dir ('%S') not created!"},
        {"SStartConfigExit", "Exit from start configuration wizard?"},
        {"SStartCPError",
         "Name of a file for opening \"%S\". If you see not normal symbols ('? ', \"|\") in a "
         "name of a file, most likely, you have no correctly adjusted code page! "},
        {"SStartNoParams",
         "For use this program just open any document and print it to \"Fax Printer\"!"},
    };
    return table;
}

LocalizedConstants::LocalizedConstants()
{
    restoreBuiltIn();
}

int LocalizedConstants::indexOf(const QString& name) const
{
    const auto& table = builtIn();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (name.compare(QLatin1String(table[i].name), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool LocalizedConstants::contains(const QString& name) const
{
    return indexOf(name) >= 0;
}

QString LocalizedConstants::text(const QString& name) const
{
    const int index = indexOf(name);
    if (index < 0)
        return QStringLiteral("Constant \"%1\" not found").arg(name);
    return m_current.at(index);
}

void LocalizedConstants::setText(const QString& name, const QString& text)
{
    const int index = indexOf(name);
    if (index >= 0)
        m_current[index] = text;
}

void LocalizedConstants::restoreBuiltIn()
{
    m_current.clear();
    for (const Entry& entry : builtIn())
        m_current << QString::fromUtf8(entry.english);
}
