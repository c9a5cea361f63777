#include "recovery_slot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kSlots = 64;

QString FilePath(const QString& root, int n) { return QStringLiteral("%1/%2.mwclass").arg(root).arg(n); }

// The lock of slot n, taken without waiting; -1 when another copy holds it.
int TakeLock(const QString& root, int n) {
    const int fd = open(QFile::encodeName(QStringLiteral("%1/%2.lock").arg(root).arg(n)).constData(),
                        O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

QString DefaultRecoveryRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/markwise/recovery");
}

TLeftRecovery::TLeftRecovery(QString path, int lockFd, QDateTime written)
    : path_(std::move(path)), lockFd_(lockFd), written_(std::move(written)) {}

TLeftRecovery::~TLeftRecovery() {
    if (lockFd_ >= 0) close(lockFd_);
}

void TLeftRecovery::Remove() { QFile::remove(path_); }

std::unique_ptr<TRecoverySlot> TRecoverySlot::Claim(const QString& root) {
    if (!QDir().mkpath(root)) return nullptr;
    QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (int n = 1; n <= kSlots; ++n)
        if (const int fd = TakeLock(root, n); fd >= 0) return std::unique_ptr<TRecoverySlot>(new TRecoverySlot(root, n, fd));
    return nullptr;
}

TRecoverySlot::TRecoverySlot(QString root, int number, int lockFd)
    : root_(std::move(root)), path_(FilePath(root_, number)), number_(number), lockFd_(lockFd) {}

TRecoverySlot::~TRecoverySlot() { close(lockFd_); }

std::vector<std::unique_ptr<TLeftRecovery>> TRecoverySlot::Left() const {
    std::vector<std::unique_ptr<TLeftRecovery>> out;
    for (int n = 1; n <= kSlots; ++n) {
        const QFileInfo file(FilePath(root_, n));
        if (n == number_) {
            if (file.isFile()) out.push_back(std::make_unique<TLeftRecovery>(file.filePath(), -1, file.lastModified()));
            continue;
        }
        if (!file.isFile()) continue;
        const int fd = TakeLock(root_, n);
        if (fd < 0) continue;  // its copy runs
        // Looked at again under the lock: its copy may have ended cleanly meanwhile.
        if (!QFileInfo::exists(file.filePath())) {
            close(fd);
            continue;
        }
        out.push_back(std::make_unique<TLeftRecovery>(file.filePath(), fd, file.lastModified()));
    }
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a->Written() > b->Written(); });
    return out;
}
