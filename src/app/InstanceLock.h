#pragma once

#include <QString>

#include <memory>

// What marks the first copy of the program while it runs. The system must let
// go of it when that copy dies, however it dies, so each platform has its own
// file.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Held by this copy from now on; nothing when another live copy holds it.
    static std::unique_ptr<InstanceLock> tryAcquire(const QString &name);
    // Tells one user (and, where the system has them, one session) from another:
    // each gets its own copy, and one cannot lock the other out.
    static QString userTag();
};
