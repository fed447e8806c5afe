#pragma once

#include "TUstawienie.h"

#include <QString>

namespace ConfigurationFile {

constexpr qint64 kSize = sizeof(TUstawienie);

enum class LoadResult {
    Loaded,
    CannotOpen, // the system's reason in *error
    TooShort,   // fewer than 523 bytes; the record is left as it was
};

// Takes the first 523 bytes of the file. The record changes only when all of
// them could be read.
LoadResult load(const QString &path, TUstawienie &record, QString *error = nullptr);

// Writes exactly 523 bytes, atomically: on failure the previous file is intact
// and *error holds the system's reason.
bool save(const QString &path, const TUstawienie &record, QString *error = nullptr);

QByteArray toBytes(const TUstawienie &record);
// False (record untouched) when fewer than 523 bytes are given; extra bytes are ignored.
bool fromBytes(const QByteArray &bytes, TUstawienie &record);

} // namespace ConfigurationFile
