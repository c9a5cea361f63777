#include "report_draft.h"

#include "compound_file.h"
#include "report_errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString RealTarget(const QString& target) {
    const QFileInfo info(target);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

long NameMax(const QString& folder) {
    const long n = pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return n > 0 ? n : NAME_MAX;
}

QString LockFileOf(const QString& path) {
    const QFileInfo info(path);
    return info.absolutePath() + "/.~lock." + info.fileName() + "#";
}

// Who holds an office lock file: "name,user,host,time,profile;". The name
// the person gave the office, else the account; empty when neither is there.
QString LockOwner(const QByteArray& lock) {
    const QStringList fields = QString::fromUtf8(lock).split(',');
    for (int k = 0; k < 2 && k < fields.size(); ++k)
        if (const QString f = fields[k].trimmed(); !f.isEmpty()) return f;
    return QString();
}

// The bytes a short file left on a full disk would still need.
bool LowOnSpace(const QString& folder, qint64 need) {
    struct statvfs fs;
    if (statvfs(QFile::encodeName(folder).constData(), &fs) != 0) return false;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize) < need;
}

int SyncPath(const QString& path, int flags) {
    const int fd = open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) return errno;
    const int r = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    return r;
}

const QString kDraftPrefix = QStringLiteral(".markwise-");
const QString kOwnerLock = QStringLiteral("owner.lock");
// A draft folder without an owner lock is only that young while its copy
// makes it; older, its copy died before it could take the lock (or it is
// from a version without one).
constexpr qint64 kUnownedGraceSeconds = 600;

// Locks the lock file at path; -1 when another process holds it.
int TakeLock(const QString& path, bool create) {
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Draft folders in folder whose copy of the program is gone (killed in the
// middle of a make): nothing will ever finish them.
void RemoveDeadDrafts(const QString& folder) {
    const QDir dir(folder);
    for (const QFileInfo& draft : dir.entryInfoList({kDraftPrefix + "*"}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        if (draft.fileName().size() != kDraftPrefix.size() + 6 || draft.ownerId() != getuid()) continue;
        const QString lock = draft.filePath() + "/" + kOwnerLock;
        if (QFileInfo::exists(lock)) {
            const int fd = TakeLock(lock, false);
            if (fd < 0) continue;  // its copy is making a report now
            QDir(draft.filePath()).removeRecursively();
            close(fd);
        } else if (draft.lastModified().secsTo(QDateTime::currentDateTime()) > kUnownedGraceSeconds) {
            QDir(draft.filePath()).removeRecursively();
        }
    }
}

}  // namespace

ReportDraft::ReportDraft(const QString& target) : target_(RealTarget(target)) {
    const QString folder = QFileInfo(target_).absolutePath();
    RemoveDeadDrafts(folder);
    QByteArray pattern = QFile::encodeName(folder + "/" + kDraftPrefix + "XXXXXX");
    if (mkdtemp(pattern.data())) {
        folder_ = QFile::decodeName(pattern);
        path_ = folder_ + "/report.doc";
        // Held while this copy works on the draft; the kernel lets go of it
        // should the copy die, which tells the next make the draft is dead.
        lockFd_ = TakeLock(folder_ + "/" + kOwnerLock, true);
    } else {
        error_ = errno;
    }
}

ReportDraft::~ReportDraft() {
    if (!folder_.isEmpty()) QDir(folder_).removeRecursively();
    if (lockFd_ >= 0) close(lockFd_);
}

void ReportDraft::CheckTarget(const QString& target) {
    const QFileInfo info(RealTarget(target));
    if (QFile::encodeName(info.fileName()).size() > NameMax(info.absolutePath()))
        throw reporterror::NameTooLong(target);
    QFile lock(LockFileOf(info.absoluteFilePath()));
    if (lock.exists()) {
        lock.open(QIODevice::ReadOnly);
        const QString owner = LockOwner(lock.read(512));
        throw reporterror::OpenElsewhere(target, owner.isEmpty() ? lock.fileName() : QStringLiteral("%1 (%2)").arg(lock.fileName(), owner));
    }
}

void ReportDraft::Commit() {
    const QString folder = QFileInfo(target_).absolutePath();
    QFile draft(path_);
    if (!draft.open(QIODevice::ReadOnly)) throw reporterror::Incomplete(QStringLiteral("the office wrote no file"));
    const QByteArray bytes = draft.read(64 << 20);
    draft.close();
    if (const QString problem = CheckWord97Document(bytes); !problem.isEmpty()) {
        // A write the office thought done ends short when the disk runs full.
        if (LowOnSpace(folder, 2 * qMax<qint64>(bytes.size(), 1 << 16)))
            throw reporterror::DiskFull(folder, QStringLiteral("the saved report is not whole: %1").arg(problem));
        throw reporterror::Incomplete(problem);
    }
    if (const int err = SyncPath(path_, O_RDONLY))
        throw reporterror::FileError(err, target_, QStringLiteral("fsync: %1").arg(QString::fromLocal8Bit(strerror(err))));
    CheckTarget(target_);

    // The report keeps the permissions it had; a new one gets those of any new file.
    struct stat st;
    mode_t mode;
    if (stat(QFile::encodeName(target_).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    chmod(QFile::encodeName(path_).constData(), mode);

    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target_).constData()) != 0) {
        const int err = errno;
        throw reporterror::FileError(err, target_, QStringLiteral("rename: %1").arg(QString::fromLocal8Bit(strerror(err))));
    }
    SyncPath(folder, O_RDONLY | O_DIRECTORY);
}

void ReportDraft::CommitBeside(const QString& file, const QString& target) {
    QFile written(file);
    if (!written.open(QIODevice::ReadOnly) || written.read(5) != "%PDF-")
        throw reporterror::Incomplete(QStringLiteral("the office wrote no PDF"));
    written.close();
    if (const int err = SyncPath(file, O_RDONLY))
        throw reporterror::FileError(err, target, QStringLiteral("fsync: %1").arg(QString::fromLocal8Bit(strerror(err))));
    const mode_t mask = umask(0);
    umask(mask);
    chmod(QFile::encodeName(file).constData(), 0666 & ~mask);
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) != 0) {
        const int err = errno;
        throw reporterror::FileError(err, target, QStringLiteral("rename: %1").arg(QString::fromLocal8Bit(strerror(err))));
    }
    SyncPath(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY);
}
