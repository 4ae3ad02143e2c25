#include "crypto/core/MD.h"

#include "crypto/core/CryptoAPI.h"

#include <cstring>

namespace {

// RFC 1319: a permutation of 0..255 built from the digits of pi.
constexpr std::array<quint8, 256> kMD2Substitution = {
    41,  46,  67,  201, 162, 216, 124, 1,   61,  54,  84,  161, 236, 240, 6,   19,  98,  167, 5,
    243, 192, 199, 115, 140, 152, 147, 43,  217, 188, 76,  130, 202, 30,  155, 87,  60,  253, 212,
    224, 22,  103, 66,  111, 24,  138, 23,  229, 18,  190, 78,  196, 214, 218, 158, 222, 73,  160,
    251, 245, 142, 187, 47,  238, 122, 169, 104, 121, 145, 21,  178, 7,   63,  148, 194, 16,  137,
    11,  34,  95,  33,  128, 127, 93,  154, 90,  144, 50,  39,  53,  62,  204, 231, 191, 247, 151,
    3,   255, 25,  48,  179, 72,  165, 181, 209, 215, 94,  146, 42,  172, 86,  170, 198, 79,  184,
    56,  210, 150, 164, 125, 182, 118, 252, 107, 226, 156, 116, 4,   241, 69,  157, 112, 89,  100,
    113, 135, 32,  134, 91,  207, 101, 230, 45,  168, 2,   27,  96,  37,  173, 174, 176, 185, 246,
    28,  70,  97,  105, 52,  64,  126, 15,  85,  71,  163, 35,  221, 81,  175, 58,  195, 92,  249,
    206, 186, 197, 234, 38,  44,  83,  13,  110, 133, 40,  132, 9,   211, 223, 205, 244, 65,  129,
    77,  82,  106, 220, 55,  200, 108, 193, 171, 250, 36,  225, 123, 8,   12,  189, 177, 74,  120,
    136, 149, 139, 227, 99,  232, 109, 233, 203, 213, 254, 59,  0,   29,  57,  242, 239, 183, 14,
    102, 88,  208, 228, 166, 119, 114, 248, 235, 117, 75,  10,  49,  68,  80,  180, 143, 237, 31,
    26,  219, 153, 141, 51,  159, 17,  131, 20};

constexpr int kMD2Rounds = 18;

constexpr std::array<quint32, 4> kMDInitialWords = {0x67452301U, 0xEFCDAB89U, 0x98BADCFEU,
                                                    0x10325476U};

// Where the 64-bit bit count goes in the last block, and the padding lead byte.
constexpr std::size_t kMDLengthOffset = 56;
constexpr std::size_t kMDLengthSize = 8;
constexpr quint8 kMDPaddingLead = 0x80;

void MD2Transform(TMD2State& state)
{
    quint8 t = 0;
    for (int round = 0; round < kMD2Rounds; ++round) {
        for (quint8& x : state.X) {
            x ^= kMD2Substitution[t];
            t = x;
        }
        t = static_cast<quint8>(t + round);
    }
}

void MD2Feed(TMD2State& state, quint8 byte)
{
    const std::size_t i = state.Count;
    state.X[kMD2BlockSize + i] = byte;
    state.X[2 * kMD2BlockSize + i] = byte ^ state.X[i];
    state.Checksum[i] ^= kMD2Substitution[byte ^ state.L];
    state.L = state.Checksum[i];
    state.Count = static_cast<quint8>((i + 1) % kMD2BlockSize);
    if (state.Count == 0)
        MD2Transform(state);
}

std::size_t MDBlockPosition(const TMDState& state)
{
    return (state.Count[0] >> 3) % kMDBlockSize;
}

void MDAddToBitCount(TMDState& state, std::size_t length)
{
    const quint32 lowBits = static_cast<quint32>(length << 3);
    state.Count[0] += lowBits;
    if (state.Count[0] < lowBits)
        ++state.Count[1];
    state.Count[1] += static_cast<quint32>(length >> 29);
}

// The three MD4 rounds (RFC 1320).
constexpr quint32 kMD4Round2Constant = 0x5A827999U;
constexpr quint32 kMD4Round3Constant = 0x6ED9EBA1U;

inline quint32 Md4F(quint32 x, quint32 y, quint32 z)
{
    return z ^ (x & (y ^ z)); // (x AND y) OR (NOT x AND z)
}

inline quint32 Md4G(quint32 x, quint32 y, quint32 z)
{
    return (x & y) | (z & (x | y)); // majority of x, y, z
}

inline quint32 Md4H(quint32 x, quint32 y, quint32 z)
{
    return x ^ y ^ z;
}

inline void Md4FF(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s)
{
    a = RotateLeft32(a + Md4F(b, c, d) + x, s);
}

inline void Md4GG(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s)
{
    a = RotateLeft32(a + Md4G(b, c, d) + x + kMD4Round2Constant, s);
}

inline void Md4HH(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s)
{
    a = RotateLeft32(a + Md4H(b, c, d) + x + kMD4Round3Constant, s);
}

// The four MD5 rounds (RFC 1321). Each step is written so that everything
// not depending on b, the word the previous step just produced, is summed
// first: the processor works on it while b is still being computed, and only
// the short tail of the step waits for b. This is what makes MD5 fast here.
inline void Md5FF(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s, quint32 t)
{
    // F = (b AND c) OR (NOT b AND d), written as d XOR (b AND (c XOR d)).
    const quint32 early = a + x + t;
    a = b + RotateLeft32(early + (d ^ (b & (c ^ d))), s);
}

inline void Md5GG(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s, quint32 t)
{
    // G = (b AND d) OR (c AND NOT d); the two halves share no bit, so they
    // can be added, and the half without b added early.
    const quint32 early = a + x + t + (c & ~d);
    a = b + RotateLeft32(early + (b & d), s);
}

inline void Md5HH(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s, quint32 t)
{
    // H = b XOR c XOR d.
    const quint32 early = a + x + t;
    a = b + RotateLeft32(early + (b ^ (c ^ d)), s);
}

inline void Md5II(quint32& a, quint32 b, quint32 c, quint32 d, quint32 x, unsigned s, quint32 t)
{
    // I = c XOR (b OR NOT d).
    const quint32 early = a + x + t;
    a = b + RotateLeft32(early + (c ^ (b | ~d)), s);
}

constexpr std::size_t kBlockWords = kMDBlockSize / sizeof(quint32);

inline void LoadBlockWords(const quint8* block, quint32 (&x)[kBlockWords])
{
    for (std::size_t i = 0; i < kBlockWords; ++i)
        x[i] = LoadLittleEndian32(block + i * sizeof(quint32));
}

} // namespace

void MD2Init(TMD2State& state)
{
    state = TMD2State{};
}

void MD2Update(TMD2State& state, const quint8* data, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        MD2Feed(state, data[i]);
}

void MD2Final(TMD2State& state, TDigest& digest)
{
    const quint8 padding = static_cast<quint8>(kMD2BlockSize - state.Count);
    for (quint8 i = 0; i < padding; ++i)
        MD2Feed(state, padding);
    // Feeding the checksum changes it as it goes; what is appended is the
    // checksum as it stood after the padding.
    const std::array<quint8, kMD2BlockSize> checksum = state.Checksum;
    MD2Update(state, checksum.data(), checksum.size());
    std::memcpy(digest.data(), state.X.data(), kDigestSize);
    WipeBytes(&state, sizeof state);
}

void MDInit(TMDState& state)
{
    state = TMDState{};
    state.Words = kMDInitialWords;
}

void MDUpdate(TMDState& state, const quint8* data, std::size_t length, TMDBlockFunction block)
{
    const std::size_t position = MDBlockPosition(state);
    MDAddToBitCount(state, length);

    const std::size_t room = kMDBlockSize - position;
    if (length < room) {
        if (length > 0)
            std::memcpy(state.Buffer.data() + position, data, length);
        return;
    }
    std::memcpy(state.Buffer.data() + position, data, room);
    block(state.Words, state.Buffer.data(), 1);
    std::size_t done = room;
    const std::size_t wholeBlocks = (length - done) / kMDBlockSize;
    if (wholeBlocks > 0) {
        block(state.Words, data + done, wholeBlocks);
        done += wholeBlocks * kMDBlockSize;
    }
    if (length > done)
        std::memcpy(state.Buffer.data(), data + done, length - done);
}

void MDFinal(TMDState& state, TDigest& digest, TMDBlockFunction block)
{
    std::array<quint8, kMDLengthSize> bitCount{};
    StoreLittleEndian32(state.Count[0], bitCount.data());
    StoreLittleEndian32(state.Count[1], bitCount.data() + sizeof(quint32));

    std::array<quint8, kMDBlockSize> padding{};
    padding[0] = kMDPaddingLead;
    const std::size_t position = MDBlockPosition(state);
    const std::size_t paddingLength = position < kMDLengthOffset
                                          ? kMDLengthOffset - position
                                          : kMDBlockSize + kMDLengthOffset - position;
    MDUpdate(state, padding.data(), paddingLength, block);
    MDUpdate(state, bitCount.data(), bitCount.size(), block);

    for (std::size_t i = 0; i < state.Words.size(); ++i)
        StoreLittleEndian32(state.Words[i], digest.data() + i * sizeof(quint32));
    WipeBytes(&state, sizeof state);
}

void MD4Blocks(std::array<quint32, 4>& words, const quint8* blocks, std::size_t count)
{
    // The chaining words stay in registers from one block to the next.
    quint32 aa = words[0];
    quint32 bb = words[1];
    quint32 cc = words[2];
    quint32 dd = words[3];
    for (const quint8* block = blocks; count > 0; --count, block += kMDBlockSize) {
        quint32 x[kBlockWords];
        LoadBlockWords(block, x);
        quint32 a = aa;
        quint32 b = bb;
        quint32 c = cc;
        quint32 d = dd;

        // Round 1
        Md4FF(a, b, c, d, x[0], 3);
        Md4FF(d, a, b, c, x[1], 7);
        Md4FF(c, d, a, b, x[2], 11);
        Md4FF(b, c, d, a, x[3], 19);
        Md4FF(a, b, c, d, x[4], 3);
        Md4FF(d, a, b, c, x[5], 7);
        Md4FF(c, d, a, b, x[6], 11);
        Md4FF(b, c, d, a, x[7], 19);
        Md4FF(a, b, c, d, x[8], 3);
        Md4FF(d, a, b, c, x[9], 7);
        Md4FF(c, d, a, b, x[10], 11);
        Md4FF(b, c, d, a, x[11], 19);
        Md4FF(a, b, c, d, x[12], 3);
        Md4FF(d, a, b, c, x[13], 7);
        Md4FF(c, d, a, b, x[14], 11);
        Md4FF(b, c, d, a, x[15], 19);
        // Round 2
        Md4GG(a, b, c, d, x[0], 3);
        Md4GG(d, a, b, c, x[4], 5);
        Md4GG(c, d, a, b, x[8], 9);
        Md4GG(b, c, d, a, x[12], 13);
        Md4GG(a, b, c, d, x[1], 3);
        Md4GG(d, a, b, c, x[5], 5);
        Md4GG(c, d, a, b, x[9], 9);
        Md4GG(b, c, d, a, x[13], 13);
        Md4GG(a, b, c, d, x[2], 3);
        Md4GG(d, a, b, c, x[6], 5);
        Md4GG(c, d, a, b, x[10], 9);
        Md4GG(b, c, d, a, x[14], 13);
        Md4GG(a, b, c, d, x[3], 3);
        Md4GG(d, a, b, c, x[7], 5);
        Md4GG(c, d, a, b, x[11], 9);
        Md4GG(b, c, d, a, x[15], 13);
        // Round 3
        Md4HH(a, b, c, d, x[0], 3);
        Md4HH(d, a, b, c, x[8], 9);
        Md4HH(c, d, a, b, x[4], 11);
        Md4HH(b, c, d, a, x[12], 15);
        Md4HH(a, b, c, d, x[2], 3);
        Md4HH(d, a, b, c, x[10], 9);
        Md4HH(c, d, a, b, x[6], 11);
        Md4HH(b, c, d, a, x[14], 15);
        Md4HH(a, b, c, d, x[1], 3);
        Md4HH(d, a, b, c, x[9], 9);
        Md4HH(c, d, a, b, x[5], 11);
        Md4HH(b, c, d, a, x[13], 15);
        Md4HH(a, b, c, d, x[3], 3);
        Md4HH(d, a, b, c, x[11], 9);
        Md4HH(c, d, a, b, x[7], 11);
        Md4HH(b, c, d, a, x[15], 15);

        aa += a;
        bb += b;
        cc += c;
        dd += d;
    }
    words = {aa, bb, cc, dd};
}

void MD5Blocks(std::array<quint32, 4>& words, const quint8* blocks, std::size_t count)
{
    // The chaining words stay in registers from one block to the next.
    quint32 aa = words[0];
    quint32 bb = words[1];
    quint32 cc = words[2];
    quint32 dd = words[3];
    for (const quint8* block = blocks; count > 0; --count, block += kMDBlockSize) {
        quint32 x[kBlockWords];
        LoadBlockWords(block, x);
        quint32 a = aa;
        quint32 b = bb;
        quint32 c = cc;
        quint32 d = dd;

        // Round 1
        Md5FF(a, b, c, d, x[0], 7, 0xd76aa478U);
        Md5FF(d, a, b, c, x[1], 12, 0xe8c7b756U);
        Md5FF(c, d, a, b, x[2], 17, 0x242070dbU);
        Md5FF(b, c, d, a, x[3], 22, 0xc1bdceeeU);
        Md5FF(a, b, c, d, x[4], 7, 0xf57c0fafU);
        Md5FF(d, a, b, c, x[5], 12, 0x4787c62aU);
        Md5FF(c, d, a, b, x[6], 17, 0xa8304613U);
        Md5FF(b, c, d, a, x[7], 22, 0xfd469501U);
        Md5FF(a, b, c, d, x[8], 7, 0x698098d8U);
        Md5FF(d, a, b, c, x[9], 12, 0x8b44f7afU);
        Md5FF(c, d, a, b, x[10], 17, 0xffff5bb1U);
        Md5FF(b, c, d, a, x[11], 22, 0x895cd7beU);
        Md5FF(a, b, c, d, x[12], 7, 0x6b901122U);
        Md5FF(d, a, b, c, x[13], 12, 0xfd987193U);
        Md5FF(c, d, a, b, x[14], 17, 0xa679438eU);
        Md5FF(b, c, d, a, x[15], 22, 0x49b40821U);
        // Round 2
        Md5GG(a, b, c, d, x[1], 5, 0xf61e2562U);
        Md5GG(d, a, b, c, x[6], 9, 0xc040b340U);
        Md5GG(c, d, a, b, x[11], 14, 0x265e5a51U);
        Md5GG(b, c, d, a, x[0], 20, 0xe9b6c7aaU);
        Md5GG(a, b, c, d, x[5], 5, 0xd62f105dU);
        Md5GG(d, a, b, c, x[10], 9, 0x02441453U);
        Md5GG(c, d, a, b, x[15], 14, 0xd8a1e681U);
        Md5GG(b, c, d, a, x[4], 20, 0xe7d3fbc8U);
        Md5GG(a, b, c, d, x[9], 5, 0x21e1cde6U);
        Md5GG(d, a, b, c, x[14], 9, 0xc33707d6U);
        Md5GG(c, d, a, b, x[3], 14, 0xf4d50d87U);
        Md5GG(b, c, d, a, x[8], 20, 0x455a14edU);
        Md5GG(a, b, c, d, x[13], 5, 0xa9e3e905U);
        Md5GG(d, a, b, c, x[2], 9, 0xfcefa3f8U);
        Md5GG(c, d, a, b, x[7], 14, 0x676f02d9U);
        Md5GG(b, c, d, a, x[12], 20, 0x8d2a4c8aU);
        // Round 3
        Md5HH(a, b, c, d, x[5], 4, 0xfffa3942U);
        Md5HH(d, a, b, c, x[8], 11, 0x8771f681U);
        Md5HH(c, d, a, b, x[11], 16, 0x6d9d6122U);
        Md5HH(b, c, d, a, x[14], 23, 0xfde5380cU);
        Md5HH(a, b, c, d, x[1], 4, 0xa4beea44U);
        Md5HH(d, a, b, c, x[4], 11, 0x4bdecfa9U);
        Md5HH(c, d, a, b, x[7], 16, 0xf6bb4b60U);
        Md5HH(b, c, d, a, x[10], 23, 0xbebfbc70U);
        Md5HH(a, b, c, d, x[13], 4, 0x289b7ec6U);
        Md5HH(d, a, b, c, x[0], 11, 0xeaa127faU);
        Md5HH(c, d, a, b, x[3], 16, 0xd4ef3085U);
        Md5HH(b, c, d, a, x[6], 23, 0x04881d05U);
        Md5HH(a, b, c, d, x[9], 4, 0xd9d4d039U);
        Md5HH(d, a, b, c, x[12], 11, 0xe6db99e5U);
        Md5HH(c, d, a, b, x[15], 16, 0x1fa27cf8U);
        Md5HH(b, c, d, a, x[2], 23, 0xc4ac5665U);
        // Round 4
        Md5II(a, b, c, d, x[0], 6, 0xf4292244U);
        Md5II(d, a, b, c, x[7], 10, 0x432aff97U);
        Md5II(c, d, a, b, x[14], 15, 0xab9423a7U);
        Md5II(b, c, d, a, x[5], 21, 0xfc93a039U);
        Md5II(a, b, c, d, x[12], 6, 0x655b59c3U);
        Md5II(d, a, b, c, x[3], 10, 0x8f0ccc92U);
        Md5II(c, d, a, b, x[10], 15, 0xffeff47dU);
        Md5II(b, c, d, a, x[1], 21, 0x85845dd1U);
        Md5II(a, b, c, d, x[8], 6, 0x6fa87e4fU);
        Md5II(d, a, b, c, x[15], 10, 0xfe2ce6e0U);
        Md5II(c, d, a, b, x[6], 15, 0xa3014314U);
        Md5II(b, c, d, a, x[13], 21, 0x4e0811a1U);
        Md5II(a, b, c, d, x[4], 6, 0xf7537e82U);
        Md5II(d, a, b, c, x[11], 10, 0xbd3af235U);
        Md5II(c, d, a, b, x[2], 15, 0x2ad7d2bbU);
        Md5II(b, c, d, a, x[9], 21, 0xeb86d391U);

        aa += a;
        bb += b;
        cc += c;
        dd += d;
    }
    words = {aa, bb, cc, dd};
}
