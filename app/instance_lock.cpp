#include "app/instance_lock.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quillora {

InstanceLock::InstanceLock(const QString& name) {
#ifdef Q_OS_UNIX
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;  // no lock to be had: behave as the only copy
    // Every running copy holds a shared lock, like a handle on a named mutex. The lock "already
    // existed" when an exclusive lock cannot be had at once.
    already_existed_ = ::flock(fd_, LOCK_EX | LOCK_NB) != 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (::flock(fd_, LOCK_SH | LOCK_NB) == 0) return;
        ::usleep(2000);  // another copy is in the middle of its own check
    }
#else
    Q_UNUSED(name);
#endif
}

InstanceLock::~InstanceLock() {
    Release();
}

void InstanceLock::Release() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
#endif
}

}  // namespace quillora
