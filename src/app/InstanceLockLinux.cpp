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
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        // Qt refuses a runtime folder someone else made first; the home is ours.
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Veskor");
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return folder;
}

// A lock file whose holder is checked by process: one left by a copy that
// crashed is taken over.
class FileInstanceLock : public InstanceLock {
public:
    explicit FileInstanceLock(const QString &path) : m_file(path) { m_file.setStaleLockTime(0); }
    bool tryLock() { return m_file.tryLock(0); }

private:
    QLockFile m_file;
};
} // namespace

std::unique_ptr<InstanceLock> InstanceLock::tryAcquire(const QString &name)
{
    auto lock = std::make_unique<FileInstanceLock>(QDir(privateFolder()).filePath(name + QStringLiteral(".lock")));
    if (!lock->tryLock())
        return nullptr;
    return lock;
}

QString InstanceLock::serverName(const QString &name)
{
    return QDir(privateFolder()).filePath(name + QStringLiteral(".socket"));
}
