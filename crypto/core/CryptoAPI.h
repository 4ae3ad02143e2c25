#pragma once

#include <QString>
#include <QtEndian>

#include <cstddef>

// Small helpers shared by the digest functions: the hex text of digest bytes,
// 32-bit rotation and the little-endian word layout that MD4 and MD5 use.

// The value as exactly `digits` lowercase hexadecimal digits, most significant
// first. Leading zeros are kept and digits above the requested count dropped,
// so IntToLowerHex(15, 2) is "0f" and IntToLowerHex(0x1234, 2) is "34".
QString IntToLowerHex(quint64 value, int digits);

// 32-bit left rotation; `bits` is taken modulo 32.
constexpr quint32 RotateLeft32(quint32 value, unsigned bits)
{
    bits &= 31U;
    return bits == 0 ? value : (value << bits) | (value >> (32U - bits));
}

// Reads and writes a 32-bit word stored least significant byte first, at any
// alignment.
inline quint32 LoadLittleEndian32(const unsigned char* bytes)
{
    return qFromLittleEndian<quint32>(bytes);
}

inline void StoreLittleEndian32(quint32 value, unsigned char* bytes)
{
    qToLittleEndian<quint32>(value, bytes);
}

// Overwrites memory with zeros in a way the compiler may not drop, for working
// states that held secret data and are about to be released.
void WipeBytes(void* bytes, std::size_t length);
