#include "ConfigurationFile.h"

#include <QFile>
#include <QSaveFile>

namespace ConfigurationFile {

QByteArray toBytes(const TUstawienie &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), kSize);
}

bool fromBytes(const QByteArray &bytes, TUstawienie &record)
{
    if (bytes.size() < kSize)
        return false;
    std::memcpy(&record, bytes.constData(), kSize);
    return true;
}

LoadResult load(const QString &path, TUstawienie &record, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return LoadResult::CannotOpen;
    }
    const QByteArray bytes = file.read(kSize);
    return fromBytes(bytes, record) ? LoadResult::Loaded : LoadResult::TooShort;
}

bool save(const QString &path, const TUstawienie &record, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toBytes(record)) != kSize || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ConfigurationFile
