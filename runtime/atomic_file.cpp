#include "atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString ErrnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

EFileWriteError Failure(int err, const QString& path, const QString& step) {
    return EFileWriteError(err, WriteFailureText(err, path) + '\n' + step + ": " + ErrnoText(err));
}

// The permissions a new file gets. Read from the kernel rather than by
// setting the mask and back, which would race other threads creating files.
mode_t NewFileMode() {
    mode_t mask = 022;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "Umask:", 6) == 0) {
                mask = mode_t(std::strtoul(line + 6, nullptr, 8));
                break;
            }
        std::fclose(f);
    }
    return 0666 & ~mask;
}

QString TemporaryPrefix(const QString& target) { return "." + QFileInfo(target).fileName() + "."; }

// Temporary files of target left by copies that died in the middle of a save.
void RemoveDeadLeftovers(const QString& target) {
    const QString folder = QFileInfo(target).absolutePath();
    const QByteArray prefix = Native(TemporaryPrefix(target));
    DIR* dir = opendir(Native(folder).constData());
    if (!dir) return;
    while (const dirent* e = readdir(dir)) {
        const QByteArray name(e->d_name);
        if (!name.startsWith(prefix)) continue;
        // prefix, the owner's process id, a dot, six random characters
        const QByteArray rest = name.mid(prefix.size());
        const qsizetype dot = rest.indexOf('.');
        if (dot <= 0 || rest.size() - dot - 1 != 6) continue;
        bool ok = false;
        const pid_t owner = pid_t(rest.left(dot).toInt(&ok));
        if (!ok || owner <= 0 || owner == getpid()) continue;
        if (kill(owner, 0) == 0 || errno != ESRCH) continue;
        unlinkat(dirfd(dir), e->d_name, 0);
    }
    closedir(dir);
}

int CreateTemporary(const QString& target, QString& path) {
    RemoveDeadLeftovers(target);
    QByteArray pattern = Native(QFileInfo(target).absolutePath() + "/" + TemporaryPrefix(target) +
                                QString::number(getpid()) + ".XXXXXX");
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) throw Failure(errno, target, QStringLiteral("create temporary file"));
    path = QFile::decodeName(pattern);
    return fd;
}

void SyncFolder(const QString& folder) {
    const int fd = open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Gives finished the target's permissions and its name. finished is on the disk already.
void Rename(const QString& target, const QString& finished) {
    struct stat st;
    mode_t mode;
    if (stat(Native(target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            unlink(Native(finished).constData());
            throw Failure(EISDIR, target, QStringLiteral("target"));
        }
        mode = st.st_mode & 07777;
    } else {
        mode = NewFileMode();
    }
    chmod(Native(finished).constData(), mode);
    if (std::rename(Native(finished).constData(), Native(target).constData()) != 0) {
        const int err = errno;
        unlink(Native(finished).constData());
        throw Failure(err, target, QStringLiteral("rename"));
    }
    SyncFolder(QFileInfo(target).absolutePath());
}

}  // namespace

QString WriteFailureText(int err, const QString& path) {
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    switch (err) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("磁盘已满，无法保存到“%1”。请腾出空间或换一个位置保存。").arg(folder);
    case EACCES:
    case EPERM: return QStringLiteral("没有在“%1”中写文件的权限，请换一个位置保存。").arg(folder);
    case EROFS: return QStringLiteral("“%1”在只读的磁盘上，请换一个位置保存。").arg(folder);
    case ENOENT:
    case ENOTDIR: return QStringLiteral("文件夹“%1”不存在，请换一个位置保存。").arg(folder);
    case ENAMETOOLONG: return QStringLiteral("文件名太长，请换一个短一些的文件名。");
    case EISDIR: return QStringLiteral("“%1”是一个文件夹，不能用作文件名。").arg(info.fileName());
    case ELOOP: return QStringLiteral("“%1”的链接指向自己，无法保存。").arg(info.fileName());
    default: return QStringLiteral("写入“%1”时出错，请换一个位置保存。").arg(info.fileName());
    }
}

QString SaveTarget(const QString& path) {
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        char buf[PATH_MAX];
        const ssize_t n = readlink(Native(p).constData(), buf, sizeof buf - 1);
        if (n < 0) return p;  // not a link: this is the file
        const QString link = QFile::decodeName(QByteArray(buf, int(n)));
        p = QDir::cleanPath(QDir::isAbsolutePath(link) ? link : QFileInfo(p).absolutePath() + "/" + link);
    }
    throw Failure(ELOOP, path, QStringLiteral("readlink"));
}

QString CreateTemporaryBeside(const QString& target) {
    QString path;
    close(CreateTemporary(SaveTarget(target), path));
    return path;
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = SaveTarget(path);
    QString temporary;
    const int fd = CreateTemporary(target, temporary);
    const auto fail = [&](const QString& step) {
        const int err = errno;
        close(fd);
        unlink(Native(temporary).constData());
        return Failure(err, target, step);
    };
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            throw fail(QStringLiteral("write"));
        }
        data += n;
        left -= n;
    }
    if (fsync(fd) != 0) throw fail(QStringLiteral("fsync"));
    if (close(fd) != 0) {
        const int err = errno;
        unlink(Native(temporary).constData());
        throw Failure(err, target, QStringLiteral("close"));
    }
    Rename(target, temporary);
}

void ReplaceFile(const QString& target, const QString& finished) {
    const int fd = open(Native(finished).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw Failure(errno, target, QStringLiteral("open finished file"));
    if (fsync(fd) != 0) {
        const int err = errno;
        close(fd);
        unlink(Native(finished).constData());
        throw Failure(err, target, QStringLiteral("fsync"));
    }
    close(fd);
    Rename(SaveTarget(target), finished);
}
