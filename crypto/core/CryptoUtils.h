#pragma once

#include "crypto/core/MD.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <variant>

// Message digests of byte strings and files as 32 lowercase hex characters.
// Every operation reports through an integer result code and never shows
// anything to the user; callers turn a nonzero code into an empty text.

// Algorithm selectors.
constexpr quint32 HASH_MD2 = 257;
constexpr quint32 HASH_MD4 = 258;
constexpr quint32 HASH_MD5 = 259;

// Result codes.
constexpr qint32 HASH_OK = 0;
constexpr qint32 HASH_ERROR_ALGORITHM = 1; // selector is not MD2, MD4 or MD5
constexpr qint32 HASH_ERROR_CONTEXT = 2;   // no handle given
constexpr qint32 HASH_ERROR_STATE = 3;     // handle not initialised, or already finished
constexpr qint32 HASH_ERROR_READ = 4;      // file could not be opened, positioned or read
constexpr qint32 HASH_ERROR_FILE = 5;      // file could not be opened to learn its size

using THashState = std::variant<TMD2State, TMDState>;

// The digest handle, usually a local variable. It owns the working state from
// a successful HashInit until HashFinal; whatever path a caller takes, the
// state is released (and never outlives the handle).
struct THashContext
{
    std::unique_ptr<THashState> State;
    quint32 Algorithm = 0;
};

// Stores the selector, then gives the handle a fresh working state (releasing
// any state it still held). An unknown selector returns HASH_ERROR_ALGORITHM
// and leaves the state as it was.
qint32 HashInit(THashContext* context, quint32 algorithm);
qint32 HashUpdate(THashContext* context, const void* data, std::size_t length);
// Writes the digest text and releases the state. Without a state it returns
// HASH_ERROR_STATE; with an unknown selector HASH_ERROR_ALGORITHM, and in
// both cases the output is left as it was.
qint32 HashFinal(THashContext* context, QString& digest);

// The digest of the bytes as stored, without terminator. `digest` is written
// only when the result is HASH_OK.
qint32 HashString(quint32 algorithm, const QByteArray& text, QString& digest);
// Texts are digested as their UTF-8 bytes, the encoding our texts are kept in.
qint32 HashString(quint32 algorithm, const QString& text, QString& digest);
// A C string literal is bytes as stored; this overload keeps such calls from
// being ambiguous between the two above.
qint32 HashString(quint32 algorithm, const char* text, QString& digest);

// The size of an existing file, cut to its low 32 bits; -1 when it cannot be
// opened. Files of 4 GiB and more therefore report the wrong size: the
// digests of this program only ever see fax images, far below that.
qint32 FileSizeByName(const QString& path);

// Feeds the bytes [start, end) of a file into an initialised handle, reading
// 4096 bytes at a time. False when the file cannot be opened or positioned,
// a read fails, or the file ends before `end`.
bool HashFileRange(THashContext* context, const QString& path, quint32 start, quint32 end);

// The digest of a whole file: HASH_ERROR_FILE when its size cannot be taken,
// HASH_ERROR_READ when it cannot be read to the end (an empty file included).
// `digest` is written only when the result is HASH_OK. Sizes are 32-bit, so a
// file of 4 GiB or more gives HASH_ERROR_FILE.
inline constexpr qint64 kLargestDigestibleFile = 0xFFFFFFFELL;
qint32 HashFile(quint32 algorithm, const QString& path, QString& digest);
