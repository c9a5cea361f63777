// Files replaced whole or not at all: permissions kept, links kept, and a
// failure that leaves the old file as it was and says why.
#include "atomic_file.h"
#include "qt_stream.h"
#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

mode_t Mode(const QString& path) {
    struct stat st;
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QStringList Listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

TEST(AtomicFile, ReplacesTheContentAndKeepsThePermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath("高一3班.mwclass");
    const mode_t mask = umask(027);
    WriteFileAtomically(path, "first");
    umask(mask);
    EXPECT_EQ(Bytes(path), "first");
    EXPECT_EQ(Mode(path), mode_t(0640));  // as any new file under that mask

    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0604), 0);
    WriteFileAtomically(path, QByteArray(100000, 'x'));
    EXPECT_EQ(Bytes(path), QByteArray(100000, 'x'));
    EXPECT_EQ(Mode(path), mode_t(0604));
    WriteFileAtomically(path, "");
    EXPECT_EQ(Bytes(path), "");
    EXPECT_EQ(Listing(dir.path()), QStringList{"高一3班.mwclass"});  // no temporary left
}

TEST(AtomicFile, SavesThroughALinkAndTheLinkStays) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("real"));
    const QString real = dir.filePath("real/class.mwclass");
    WriteFileAtomically(real, "old");
    const QString link = dir.filePath("link.mwclass");
    ASSERT_TRUE(QFile::link("real/class.mwclass", link));
    const QString chain = dir.filePath("chain.mwclass");
    ASSERT_TRUE(QFile::link(link, chain));
    EXPECT_EQ(SaveTarget(chain), real);

    WriteFileAtomically(chain, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(chain).isSymLink());
    EXPECT_EQ(Bytes(real), "new");
    // The temporary file was made beside the real one, on its disk.
    EXPECT_EQ(Listing(dir.filePath("real")), QStringList{"class.mwclass"});

    // A link to a file that is not there yet makes that file.
    const QString dangling = dir.filePath("dangling.mwclass");
    ASSERT_TRUE(QFile::link(dir.filePath("real/later.mwclass"), dangling));
    WriteFileAtomically(dangling, "later");
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(Bytes(dir.filePath("real/later.mwclass")), "later");

    // A link to itself is refused, not followed for ever.
    const QString loop = dir.filePath("loop.mwclass");
    ASSERT_TRUE(QFile::link(loop, loop));
    try {
        WriteFileAtomically(loop, "x");
        FAIL();
    } catch (const EFileWriteError& e) {
        EXPECT_EQ(e.Errno(), ELOOP);
    }
}

TEST(AtomicFile, AFailureLeavesTheOldFileAndSaysWhyInWords) {
    QTemporaryDir dir;
    try {
        WriteFileAtomically(dir.filePath("gone/class.mwclass"), "x");
        FAIL();
    } catch (const EFileWriteError& e) {
        EXPECT_EQ(e.Errno(), ENOENT);
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("文件夹“%1”不存在").arg(dir.filePath("gone")))) << e.Message();
        EXPECT_TRUE(e.Message().contains('\n'));  // the detail on a line of its own
    }
    // A folder where the file should be stays a folder, with what it holds.
    const QString folder = dir.filePath("class.mwclass");
    QDir().mkpath(folder + "/inside");
    try {
        WriteFileAtomically(folder, "x");
        FAIL();
    } catch (const EFileWriteError& e) {
        EXPECT_EQ(e.Errno(), EISDIR);
    }
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir());
    EXPECT_EQ(Listing(dir.path()), QStringList{"class.mwclass"});

    // The system's own read-only files refuse even the super-user.
    try {
        WriteFileAtomically("/proc/version", "x");
        FAIL();
    } catch (const EFileWriteError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_NE(Bytes("/proc/version"), "x");
}

TEST(AtomicFile, TemporariesOfADeadCopyAreRemovedAndALiveOnesKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("class.mwclass");
    // A process that is surely gone: one that ran and was reaped.
    QProcess gone;
    gone.start("sleep", {"0.1"});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 goneId = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    const QString dead = dir.filePath(QStringLiteral(".class.mwclass.%1.aB3dE9").arg(goneId));
    const QString alive = dir.filePath(QStringLiteral(".class.mwclass.%1.xY7zQ2").arg(getppid()));
    const QString other = dir.filePath(QStringLiteral(".other.mwclass.%1.aB3dE9").arg(goneId));
    for (const QString& f : {dead, alive, other}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    WriteFileAtomically(path, "x");
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(alive));
    EXPECT_TRUE(QFileInfo::exists(other));
}

TEST(AtomicFile, TheTeachersWordsForEachFailure) {
    const QString path = "/home/王/成绩/class.mwclass";
    EXPECT_EQ(WriteFailureText(ENOSPC, path), QStringLiteral("磁盘已满，无法保存到“/home/王/成绩”。请腾出空间或换一个位置保存。"));
    EXPECT_EQ(WriteFailureText(EDQUOT, path), WriteFailureText(ENOSPC, path));
    EXPECT_EQ(WriteFailureText(EACCES, path), QStringLiteral("没有在“/home/王/成绩”中写文件的权限，请换一个位置保存。"));
    EXPECT_EQ(WriteFailureText(EROFS, path), QStringLiteral("“/home/王/成绩”在只读的磁盘上，请换一个位置保存。"));
    EXPECT_EQ(WriteFailureText(ENAMETOOLONG, path), QStringLiteral("文件名太长，请换一个短一些的文件名。"));
    EXPECT_EQ(WriteFailureText(EIO, path), QStringLiteral("写入“class.mwclass”时出错，请换一个位置保存。"));
}
