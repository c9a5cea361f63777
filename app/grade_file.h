#pragma once
// The grade file (.mwgrade): the list of a grade's class files, by path
// relative to the grade file, with the name each class goes by, as UTF-8
// JSON. The classes themselves stay in their own class files. The reader
// takes files from anywhere: bounded in size and count, with messages the
// teacher can read.
#include "exceptions.h"

#include <QByteArray>
#include <QString>
#include <vector>

MARKWISE_EXCEPTION(EGradeFileError)

inline constexpr int kGradeFileVersion = 1;
inline constexpr const char* kGradeFileSuffix = "mwgrade";
inline constexpr const char* kGradeFileStart = "{\n    \"format\": \"markwise-grade\",\n    \"version\": 1,";
inline constexpr qint64 kMaxGradeFileBytes = 1 << 20;
// Far more classes than any grade has.
inline constexpr int kMaxGradeClasses = 200;

struct GradeFileEntry {
    QString name;
    QString file;  // as written: relative to the grade file's folder (or absolute)
};

struct GradeFileContents {
    int fullMarks = 100;
    std::vector<GradeFileEntry> classes;
};

QByteArray WriteGradeFile(const GradeFileContents& contents);
// Throws EGradeFileError.
GradeFileContents ReadGradeFile(const QByteArray& bytes);
// Reads the file at path within the bounds above. Throws EGradeFileError.
GradeFileContents LoadGradeFile(const QString& path);
