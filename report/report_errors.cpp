#include "report_errors.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace reporterror {

namespace {
EWordError Make(const QString& teacher, const QString& detail) {
    return EWordError(detail.isEmpty() ? teacher : teacher + '\n' + detail);
}
QString Name(const QString& path) { return QFileInfo(path).fileName(); }
QString Folder(const QString& path) { return QDir::toNativeSeparators(path); }
}  // namespace

EWordError OfficeNotStarted(const QString& detail) {
    return Make(QStringLiteral("无法启动办公软件 LibreOffice，请确认它已经安装。"), detail);
}

EOfficeGone OfficeGone(const QString& detail) {
    return EOfficeGone(Make(QStringLiteral("办公软件意外退出，这一步没有完成。请再试一次。"), detail).Message());
}

EWordError OfficeFailed(const QString& detail) {
    return Make(QStringLiteral("办公软件没能完成这一步。"), detail);
}

EWordError DiskFull(const QString& folder, const QString& detail) {
    return Make(QStringLiteral("磁盘已满，报告无法保存到“%1”。请腾出空间或换一个位置保存。").arg(Folder(folder)), detail);
}

EWordError OpenElsewhere(const QString& path, const QString& detail) {
    return Make(QStringLiteral("报告“%1”正在别的办公软件中打开。请先关闭它，或换一个文件名。").arg(Name(path)), detail);
}

EWordError NameTooLong(const QString& path) {
    return Make(QStringLiteral("文件名太长，请换一个短一些的文件名。"), path);
}

EWordError NotWritable(const QString& folder, const QString& detail) {
    return Make(QStringLiteral("无法在“%1”中写入报告，请换一个位置保存。").arg(Folder(folder)), detail);
}

EWordError Missing(const QString& path) {
    return Make(QStringLiteral("找不到报告“%1”，请先制作报告。").arg(Name(path)), path);
}

EWordError Incomplete(const QString& detail) {
    return Make(QStringLiteral("办公软件写出的报告不完整，没有保存。"), detail);
}

EWordError FileError(int err, const QString& path, const QString& detail) {
    const QString folder = QFileInfo(path).absolutePath();
    switch (err) {
    case ENOSPC:
    case EDQUOT: return DiskFull(folder, detail);
    case ENAMETOOLONG: return NameTooLong(path);
    case ENOENT:
    case ENOTDIR:
        return Make(QStringLiteral("文件夹“%1”不存在，请换一个位置保存。").arg(Folder(folder)), detail);
    default: return NotWritable(folder, detail);
    }
}

}  // namespace reporterror
