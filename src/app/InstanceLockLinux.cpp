#include "InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

namespace {
// The user's runtime folder: no one else can create or open anything there, as
// anyone could in the shared temporary folder.
QString privateFolder()
{
    // Looked up once: Qt checks (and warns about) the folder on every call.
    static const QString folder = [] {
        QString path = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (path.isEmpty()) {
            // Qt refuses a runtime folder someone else made first; the home is ours.
            path = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Veskor");
            QDir().mkpath(path);
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        return path;
    }();
    return folder;
}

// A lock file whose holder is checked by process: one left by a copy that
// crashed is taken over.
class FileInstanceLock : public InstanceLock {
public:
    explicit FileInstanceLock(const QString &path) : m_file(path) { m_file.setStaleLockTime(0); }
    bool tryLock() { return m_file.tryLock(0); }
    QLockFile::LockError error() const { return m_file.error(); }

private:
    QLockFile m_file;
};
} // namespace

std::unique_ptr<InstanceLock> InstanceLock::tryAcquire(const QString &name, QString *failure)
{
    const QString path = QDir(privateFolder()).filePath(name + QStringLiteral(".lock"));
    auto lock = std::make_unique<FileInstanceLock>(path);
    if (lock->tryLock())
        return lock;
    // Only a lock held by a live copy means that one runs.
    if (failure && lock->error() != QLockFile::LockFailedError)
        *failure = QStringLiteral("nie można utworzyć pliku %1").arg(path);
    return nullptr;
}

QString InstanceLock::serverName(const QString &name)
{
    return QDir(privateFolder()).filePath(name + QStringLiteral(".socket"));
}
