#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// The MD2, MD4 and MD5 message digests (RFC 1319, 1320, 1321): their working
// states and the functions that feed and finish them. These work on raw bytes
// and know nothing of handles or hex text; CryptoUtils builds on them.

constexpr std::size_t kDigestSize = 16;
using TDigest = std::array<quint8, kDigestSize>;

// MD2 works on 16-byte blocks, one input byte at a time.
constexpr std::size_t kMD2BlockSize = 16;

struct TMD2State
{
    // Bytes 0..15 the digest state, 16..31 the current block, 32..47 the
    // state XOR the block.
    std::array<quint8, 3 * kMD2BlockSize> X{};
    std::array<quint8, kMD2BlockSize> Checksum{};
    quint8 Count = 0; // bytes already in the current block, 0..15
    quint8 L = 0;     // last checksum byte
};

// MD4 and MD5 share this layout, the initial words and the update routine;
// only the block function differs.
constexpr std::size_t kMDBlockSize = 64;

struct TMDState
{
    std::array<quint32, 4> Words{}; // chaining words A, B, C, D
    std::array<quint32, 2> Count{}; // message length in bits, low word first
    std::array<quint8, kMDBlockSize> Buffer{};
};

// Transforms the chaining words with `count` consecutive 64-byte blocks,
// which may lie at any alignment.
using TMDBlockFunction = void (*)(std::array<quint32, 4>& words, const quint8* blocks,
                                  std::size_t count);

void MD2Init(TMD2State& state);
void MD2Update(TMD2State& state, const quint8* data, std::size_t length);
// Finishes the digest and wipes the state; feed nothing more afterwards.
void MD2Final(TMD2State& state, TDigest& digest);

void MDInit(TMDState& state);
// Whole 64-byte blocks are transformed straight from `data`; only a partial
// block at either end passes through the state's buffer.
void MDUpdate(TMDState& state, const quint8* data, std::size_t length, TMDBlockFunction block);
// Finishes the digest and wipes the state; feed nothing more afterwards.
void MDFinal(TMDState& state, TDigest& digest, TMDBlockFunction block);

void MD4Blocks(std::array<quint32, 4>& words, const quint8* blocks, std::size_t count);
void MD5Blocks(std::array<quint32, 4>& words, const quint8* blocks, std::size_t count);
