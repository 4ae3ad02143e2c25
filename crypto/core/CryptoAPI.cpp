#include "crypto/core/CryptoAPI.h"

namespace {
constexpr char kLowerHexDigits[] = "0123456789abcdef";
constexpr int kBitsPerHexDigit = 4;
constexpr quint64 kHexDigitMask = 0xF;
} // namespace

QString IntToLowerHex(quint64 value, int digits)
{
    if (digits <= 0)
        return {};
    QString text(digits, QLatin1Char('0'));
    for (int i = digits - 1; i >= 0 && value != 0; --i) {
        text[i] = QLatin1Char(kLowerHexDigits[value & kHexDigitMask]);
        value >>= kBitsPerHexDigit;
    }
    return text;
}

void WipeBytes(void* bytes, std::size_t length)
{
    // Writes through a volatile pointer are observable behaviour, so they
    // survive even when the memory is freed right afterwards.
    volatile unsigned char* cursor = static_cast<volatile unsigned char*>(bytes);
    while (length-- > 0)
        *cursor++ = 0;
}
