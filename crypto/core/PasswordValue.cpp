#include "crypto/core/PasswordValue.h"

#include "crypto/core/CryptoUtils.h"

namespace {

QString StrongPasswordValue(const QString& storedDigest, const QString& faxFilePath)
{
    QString fileDigest;
    if (HashFile(HASH_MD5, faxFilePath, fileDigest) != HASH_OK)
        return {};
    QString value;
    if (HashString(HASH_MD5, storedDigest + fileDigest, value) != HASH_OK)
        return {};
    return value;
}

} // namespace

QString BuildPasswordValue(const QString& storedDigest, int passMode, const QString& faxFilePath)
{
    switch (passMode) {
    case kPassModeSimple:
        return storedDigest;
    case kPassModeStrong:
        return StrongPasswordValue(storedDigest, faxFilePath);
    default:
        return {};
    }
}
