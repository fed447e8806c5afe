#pragma once

#include <QString>

#include <memory>

// What marks the first copy of the program while it runs. The system must let
// go of it when that copy dies, however it dies, and no other user may take or
// answer for it, so each platform has its own file.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Held by this copy from now on; nothing when another live copy holds it, or
    // when the lock cannot be made at all (then failure says why).
    static std::unique_ptr<InstanceLock> tryAcquire(const QString &name, QString *failure = nullptr);
    // The name the first copy listens on for the others: a socket in the user's
    // private runtime folder (Linux), a pipe named after the user and session
    // (Windows).
    static QString serverName(const QString &name);
};
