#include "InstanceLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {
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
    auto lock = std::make_unique<FileInstanceLock>(
        QDir(QDir::tempPath()).filePath(name + QLatin1Char('-') + userTag() + QStringLiteral(".lock")));
    if (!lock->tryLock())
        return nullptr;
    return lock;
}

QString InstanceLock::userTag()
{
    return QString::number(QFileInfo(QDir::homePath()).ownerId());
}
