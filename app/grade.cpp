#include "grade.h"

#include "number_format.h"

#include <QFileInfo>

std::vector<double> ClassScores(const ClassData& data, const QString& shownName) {
    std::vector<double> values;
    for (int k = 0; k < data.scores.size(); ++k) {
        const QString text = Trim(data.scores[k]);
        if (text.isEmpty()) continue;
        double v = 0;
        if (!TryStrToFloat(text, v) || BandOf(v, data.fullMarks) < 0)
            throw EGradeError(QStringLiteral("“%1”第%2行的“%3”不是0~%4范围的成绩，这个班级没有加入。")
                                  .arg(shownName)
                                  .arg(k + 1)
                                  .arg(text.left(40))
                                  .arg(data.fullMarks));
        values.push_back(v);
    }
    if (values.empty()) throw EGradeError(QStringLiteral("“%1”中没有成绩，这个班级没有加入。").arg(shownName));
    return values;
}

QString DefaultClassName(const ClassData& data, const QString& fallback) {
    const QString own = data.info.className.trimmed();
    return own.isEmpty() ? fallback.trimmed() : own;
}

int TGrade::FullMarks() const { return classes_.empty() ? kDefaultFullMarks : classes_.front().data.fullMarks; }

bool TGrade::NameTaken(const QString& name, int except) const {
    for (int i = 0; i < Count(); ++i)
        if (i != except && classes_[size_t(i)].name == name) return true;
    return false;
}

int TGrade::Add(const QString& name, const ClassData& data, const QString& filePath) {
    QString base = name.trimmed();
    if (base.isEmpty()) base = QStringLiteral("班级");
    if (!classes_.empty() && data.fullMarks != FullMarks())
        throw EGradeError(QStringLiteral("“%1”的满分是%2分，本年级其他班级的满分是%3分，满分不同的班级不能放在一起比较，没有加入。")
                              .arg(base)
                              .arg(data.fullMarks)
                              .arg(FullMarks()));
    const QString path = filePath.isEmpty() ? QString() : QFileInfo(filePath).absoluteFilePath();
    if (!path.isEmpty())
        for (const GradeClass& c : classes_)
            if (c.filePath == path)
                throw EGradeError(QStringLiteral("班级文件“%1”已经在本年级中（%2），没有再次加入。")
                                      .arg(QFileInfo(path).fileName(), c.name));
    GradeClass added;
    added.scores = ClassScores(data, base);
    added.name = base;
    for (int n = 2; NameTaken(added.name, -1); ++n) added.name = QStringLiteral("%1（%2）").arg(base).arg(n);
    added.filePath = path;
    added.data = data;
    classes_.push_back(std::move(added));
    return Count() - 1;
}

void TGrade::Remove(int i) {
    if (i >= 0 && i < Count()) classes_.erase(classes_.begin() + i);
}

void TGrade::Rename(int i, const QString& name) {
    const QString n = name.trimmed();
    if (n.isEmpty()) throw EGradeError(QStringLiteral("班级名称不能为空。"));
    if (NameTaken(n, i)) throw EGradeError(QStringLiteral("本年级已经有名为“%1”的班级，请换一个名称。").arg(n));
    classes_.at(size_t(i)).name = n;
}

void TGrade::SetFilePath(int i, const QString& path) { classes_.at(size_t(i)).filePath = QFileInfo(path).absoluteFilePath(); }
