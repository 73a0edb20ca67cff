#pragma once

#include <QString>

namespace quillora {

// The single-instance lock "QuilloraApp": an exclusive lock on a file in the user's runtime
// folder. The operating system drops it when the process ends, so a crash leaves no stale lock.
class InstanceLock {
public:
    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another running copy already held the lock when this one was created.
    bool AlreadyExisted() const { return already_existed_; }
    void Release();

private:
    int fd_ = -1;
    bool already_existed_ = false;
};

}  // namespace quillora
