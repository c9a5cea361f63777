#include "grade_file.h"

#include "grade_bands.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QByteArray Quoted(const QString& s) {
    const QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

[[noreturn]] void Refuse(const QString& text) { throw EGradeFileError(text); }

[[noreturn]] void Damaged(const QString& what) {
    Refuse(QStringLiteral("年级文件已损坏：%1。").arg(what));
}

bool Whole(const QJsonValue& v, double lo, double hi) {
    if (!v.isDouble()) return false;
    const double d = v.toDouble();
    return d >= lo && d <= hi && d == std::floor(d);
}

QString Text(const QJsonObject& o, const char* key, int entry) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString() || !QStringView(v.toString()).isValidUtf16() || v.toString().size() > 4096)
        Damaged(QStringLiteral("第%1个班级的“%2”一项不对").arg(entry).arg(QLatin1String(key)));
    return v.toString();
}

}  // namespace

QByteArray WriteGradeFile(const GradeFileContents& c) {
    QByteArray out = kGradeFileStart;
    out += "\n    \"fullMarks\": " + QByteArray::number(c.fullMarks) + ",\n    \"classes\": [";
    for (size_t k = 0; k < c.classes.size(); ++k) {
        out += k ? ",\n" : "\n";
        out += "        {\n            \"name\": " + Quoted(c.classes[k].name) + ",\n            \"file\": " +
               Quoted(c.classes[k].file) + "\n        }";
    }
    out += c.classes.empty() ? "]\n}\n" : "\n    ]\n}\n";
    return out;
}

GradeFileContents ReadGradeFile(const QByteArray& bytes) {
    if (bytes.size() > kMaxGradeFileBytes) Refuse(QStringLiteral("文件太大，不是本程序保存的年级文件。"));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        Refuse(QStringLiteral("这不是本程序保存的年级文件，或者文件已经损坏。"));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != QStringLiteral("markwise-grade"))
        Refuse(QStringLiteral("这不是本程序保存的年级文件。"));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!Whole(version, 1, 1e15)) Damaged(QStringLiteral("格式版本不对"));
    if (version.toDouble() > kGradeFileVersion)
        Refuse(QStringLiteral("这个年级文件是由更新版本的程序保存的（文件格式第%1版），本程序只能打开第%2版及以前的文件。请先更新本程序。")
                   .arg(qint64(version.toDouble()))
                   .arg(kGradeFileVersion));
    GradeFileContents c;
    const QJsonValue marks = root.value(QStringLiteral("fullMarks"));
    if (!Whole(marks, kMinFullMarks, kMaxFullMarks)) Damaged(QStringLiteral("满分不对"));
    c.fullMarks = int(marks.toDouble());
    const QJsonValue list = root.value(QStringLiteral("classes"));
    if (!list.isArray()) Damaged(QStringLiteral("缺少班级列表"));
    const QJsonArray array = list.toArray();
    if (array.size() > kMaxGradeClasses)
        Refuse(QStringLiteral("年级文件中有%1个班级，超过了%2个，不像是一个年级，没有打开。").arg(array.size()).arg(kMaxGradeClasses));
    for (qsizetype k = 0; k < array.size(); ++k) {
        if (!array[k].isObject()) Damaged(QStringLiteral("第%1个班级不对").arg(k + 1));
        const QJsonObject o = array[k].toObject();
        GradeFileEntry e{Text(o, "name", int(k + 1)), Text(o, "file", int(k + 1))};
        if (e.file.isEmpty()) Damaged(QStringLiteral("第%1个班级没有班级文件").arg(k + 1));
        c.classes.push_back(std::move(e));
    }
    return c;
}

GradeFileContents LoadGradeFile(const QString& path) {
    // A pipe or a device would never end.
    if (!QFileInfo(path).isFile()) Refuse(QStringLiteral("“%1”不是一个文件，无法打开。").arg(QFileInfo(path).fileName()));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) Refuse(QStringLiteral("无法打开年级文件：%1").arg(f.errorString()));
    if (f.size() > kMaxGradeFileBytes) Refuse(QStringLiteral("文件太大，不是本程序保存的年级文件。"));
    return ReadGradeFile(f.read(kMaxGradeFileBytes + 1));
}
