#include "office_profile.h"

#include "office.h"
#include "word.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace office {

QString ProfileArgument(const QString& folder) { return "-env:UserInstallation=" + Q(FileUrl(folder)); }

void EndOfficesOnProfile(const QString& folder) {
    const QByteArray wanted = ProfileArgument(folder).toUtf8();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid || pid == getpid()) continue;
        struct stat st;
        if (stat(QFile::encodeName(proc.filePath(entry)).constData(), &st) != 0 || st.st_uid != getuid()) continue;
        QFile cmdline(proc.filePath(entry) + "/cmdline");
        if (!cmdline.open(QIODevice::ReadOnly)) continue;
        if (cmdline.readAll().split('\0').contains(wanted)) kill(pid, SIGKILL);
    }
}

QString ClaimProfile(const QString& root) {
    static QString claimed;
    if (!claimed.isEmpty()) return claimed;
    QDir().mkpath(root);
    for (int n = 1; n <= 64; ++n) {
        const QString folder = QStringLiteral("%1/%2").arg(root).arg(n);
        const int fd = open(QFile::encodeName(folder + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) break;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            continue;
        }
        // Held until the process ends; nobody else runs on this profile now.
        EndOfficesOnProfile(folder);
        claimed = folder;
        return claimed;
    }
    throw EWordError(QStringLiteral("no office profile could be claimed under %1").arg(root));
}

}  // namespace office
