#include "crypto/core/CryptoUtils.h"

#include "crypto/core/CryptoAPI.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// One stack buffer of this size serves a file of any size.
constexpr qint64 kFileReadBlockSize = 4096;
constexpr int kHexDigitsPerByte = 2;

TMDBlockFunction BlockFunctionOf(quint32 algorithm)
{
    return algorithm == HASH_MD4 ? MD4Blocks : MD5Blocks;
}

QString DigestText(const TDigest& digest)
{
    QString text;
    text.reserve(static_cast<qsizetype>(digest.size()) * kHexDigitsPerByte);
    for (const quint8 byte : digest)
        text += IntToLowerHex(byte, kHexDigitsPerByte);
    return text;
}

// Others may read the file meanwhile; keeping writers out is a matter of the
// platform's sharing rules, which Linux does not enforce.
bool OpenForReading(QFile& file)
{
    // Unbuffered: every 4096-byte read goes straight to the file, with no
    // second copy through a buffer of QFile's own.
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

} // namespace

qint32 HashInit(THashContext* context, quint32 algorithm)
{
    if (context == nullptr)
        return HASH_ERROR_CONTEXT;
    context->Algorithm = algorithm;
    switch (algorithm) {
    case HASH_MD2: {
        auto state = std::make_unique<THashState>(std::in_place_type<TMD2State>);
        MD2Init(std::get<TMD2State>(*state));
        context->State = std::move(state);
        return HASH_OK;
    }
    case HASH_MD4:
    case HASH_MD5: {
        auto state = std::make_unique<THashState>(std::in_place_type<TMDState>);
        MDInit(std::get<TMDState>(*state));
        context->State = std::move(state);
        return HASH_OK;
    }
    default:
        return HASH_ERROR_ALGORITHM;
    }
}

qint32 HashUpdate(THashContext* context, const void* data, std::size_t length)
{
    if (context == nullptr)
        return HASH_ERROR_CONTEXT;
    if (!context->State)
        return HASH_ERROR_STATE;
    const auto* bytes = static_cast<const quint8*>(data);
    switch (context->Algorithm) {
    case HASH_MD2:
        if (auto* md2 = std::get_if<TMD2State>(context->State.get())) {
            MD2Update(*md2, bytes, length);
            return HASH_OK;
        }
        break;
    case HASH_MD4:
    case HASH_MD5:
        if (auto* md = std::get_if<TMDState>(context->State.get())) {
            MDUpdate(*md, bytes, length, BlockFunctionOf(context->Algorithm));
            return HASH_OK;
        }
        break;
    default:
        return HASH_ERROR_ALGORITHM;
    }
    // Only a handle whose fields were changed by hand gets here.
    return HASH_ERROR_STATE;
}

qint32 HashFinal(THashContext* context, QString& digest)
{
    if (context == nullptr)
        return HASH_ERROR_CONTEXT;
    if (!context->State)
        return HASH_ERROR_STATE;
    TDigest bytes{};
    switch (context->Algorithm) {
    case HASH_MD2:
        if (auto* md2 = std::get_if<TMD2State>(context->State.get())) {
            MD2Final(*md2, bytes);
            break;
        }
        return HASH_ERROR_STATE;
    case HASH_MD4:
    case HASH_MD5:
        if (auto* md = std::get_if<TMDState>(context->State.get())) {
            MDFinal(*md, bytes, BlockFunctionOf(context->Algorithm));
            break;
        }
        return HASH_ERROR_STATE;
    default:
        return HASH_ERROR_ALGORITHM;
    }
    context->State.reset();
    digest = DigestText(bytes);
    WipeBytes(bytes.data(), bytes.size());
    return HASH_OK;
}

qint32 HashString(quint32 algorithm, const QByteArray& text, QString& digest)
{
    THashContext context;
    qint32 result = HashInit(&context, algorithm);
    if (result == HASH_OK && !text.isEmpty())
        result = HashUpdate(&context, text.constData(), static_cast<std::size_t>(text.size()));
    if (result == HASH_OK)
        result = HashFinal(&context, digest);
    return result;
}

qint32 HashString(quint32 algorithm, const QString& text, QString& digest)
{
    return HashString(algorithm, text.toUtf8(), digest);
}

qint32 HashString(quint32 algorithm, const char* text, QString& digest)
{
    return HashString(algorithm, QByteArray(text), digest);
}

qint32 FileSizeByName(const QString& path)
{
    QFile file(path);
    if (!OpenForReading(file))
        return -1;
    return static_cast<qint32>(static_cast<quint32>(file.size()));
}

bool HashFileRange(THashContext* context, const QString& path, quint32 start, quint32 end)
{
    QFile file(path);
    if (!OpenForReading(file) || !file.seek(start))
        return false;

    const quint32 wanted = end - start;
    quint64 done = 0;
    char buffer[kFileReadBlockSize];
    for (;;) {
        const qint64 read = file.read(buffer, kFileReadBlockSize);
        if (read <= 0) // a failed read, or the file ended before the range did
            return false;
        const quint64 reachedTo = done + static_cast<quint64>(read);
        const quint64 take = std::min<quint64>(static_cast<quint64>(read), wanted - done);
        if (HashUpdate(context, buffer, static_cast<std::size_t>(take)) != HASH_OK)
            return false;
        if (reachedTo >= wanted)
            return true;
        done = reachedTo;
    }
}

qint32 HashFile(quint32 algorithm, const QString& path, QString& digest)
{
    const qint32 size = FileSizeByName(path);
    if (size == -1)
        return HASH_ERROR_FILE;
    // Sizes are 32-bit here: a larger file would be digested only up to its
    // size modulo 4 GiB, a digest of something else. Refuse it instead.
    if (QFileInfo(path).size() > kLargestDigestibleFile)
        return HASH_ERROR_FILE;
    THashContext context;
    const qint32 result = HashInit(&context, algorithm);
    if (result != HASH_OK)
        return result;
    if (!HashFileRange(&context, path, 0, static_cast<quint32>(size)))
        return HASH_ERROR_READ;
    return HashFinal(&context, digest);
}
