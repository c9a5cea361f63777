#pragma once
// A grade: several classes side by side, each with the name it goes by in
// the comparison and in its report, and the class file it lives in. All
// classes of a grade are marked out of the same full marks, so their bands
// mean the same thing.
#include "class_data.h"
#include "exceptions.h"

#include <QString>
#include <vector>

// A class the grade cannot take, or a name it cannot give; the message is
// for the teacher.
MARKWISE_EXCEPTION(EGradeError)

struct GradeClass {
    QString name;      // unique within the grade
    QString filePath;  // absolute; empty for a class not saved yet
    ClassData data;
    std::vector<double> scores;  // the filled rows' values, in row order
};

// The values of a class's filled rows, as the analysis reads them: blank
// rows skipped. Throws EGradeError naming the first row that is not a
// score within 0 to the full marks, or when no row is filled.
std::vector<double> ClassScores(const ClassData& data, const QString& shownName);

// The name a class goes by when it is added: its own 班级, else fallback.
QString DefaultClassName(const ClassData& data, const QString& fallback);

class TGrade {
public:
    const std::vector<GradeClass>& Classes() const { return classes_; }
    int Count() const { return int(classes_.size()); }
    const GradeClass& At(int i) const { return classes_.at(size_t(i)); }
    // The full marks every class shares: the first class's.
    int FullMarks() const;

    // Adds a class named name (made unique with "（2）", "（3）" ...).
    // Refused with EGradeError: other full marks than the classes there,
    // a class file that is in the grade already, no scores or a row that
    // is no score. Returns its index.
    int Add(const QString& name, const ClassData& data, const QString& filePath = QString());
    void Remove(int i);
    // Refused with EGradeError for an empty name or one another class has.
    void Rename(int i, const QString& name);
    // The class was saved into path.
    void SetFilePath(int i, const QString& path);
    void Clear() { classes_.clear(); }

    // Where the grade's own file is, if it has one.
    QString filePath;

private:
    bool NameTaken(const QString& name, int except) const;
    std::vector<GradeClass> classes_;
};
