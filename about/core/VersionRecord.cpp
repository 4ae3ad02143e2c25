#include "about/core/VersionRecord.h"

#include "BuildInfo.h"

#include <array>
#include <utility>

namespace {
using Entry = std::pair<const char*, const char*>;
constexpr std::array<Entry, 7> kEntries{{
    {"ProductName", quillon::build::kProductName},
    {"FileVersion", quillon::build::kFileVersion},
    {"FileDescription", quillon::build::kFileDescription},
    {"LegalCopyright", quillon::build::kLegalCopyright},
    {"Comments", quillon::build::kComments},
    {"Web", quillon::build::kWeb},
    {"E-Mail", quillon::build::kEMail},
}};
} // namespace

QString VersionRecord::value(const QString& key)
{
    for (const auto& [name, text] : kEntries) {
        if (key == QLatin1String(name))
            return QString::fromUtf8(text);
    }
    return {};
}

QStringList VersionRecord::keys()
{
    QStringList result;
    for (const auto& entry : kEntries)
        result << QString::fromLatin1(entry.first);
    return result;
}

QString VersionRecord::gatewayAddress()
{
    return QString::fromUtf8(quillon::build::kGatewayAddress);
}
