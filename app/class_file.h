#pragma once
// The class file (.mwclass): one class's work as UTF-8 JSON. The writer fixes
// the key order, so every file begins with the same bytes and a file manager
// can tell it by them. The reader takes files from anywhere: it is bounded
// in size, depth and count, and refuses what it cannot take whole with a
// message the teacher can read.
#include "class_data.h"
#include "exceptions.h"

#include <QByteArray>
#include <QString>

// A class file that cannot be read; the message is for the teacher.
MARKWISE_EXCEPTION(EClassFileError)

// The newest version this program reads and writes. A class without
// per-question scores is still written as version 1, as before them.
inline constexpr int kClassFileVersion = 2;
inline constexpr int kClassFileItemsVersion = 2;
// Far above any paper's questions.
inline constexpr int kMaxQuestions = 200;
inline constexpr const char* kClassFileSuffix = "mwclass";
// Every class file starts with exactly these bytes, then its version.
inline constexpr const char* kClassFileStart = "{\n    \"format\": \"markwise-class\",\n    \"version\": ";
// Far above any class (299 rows, a long conclusion); larger files are refused
// before they are read.
inline constexpr qint64 kMaxClassFileBytes = 4 << 20;

// What a recovery file adds to a class: the class file the work belonged
// to, if it had one.
struct ClassFileContents {
    ClassData data;
    QString savedPath;  // only in recovery files
};

QByteArray WriteClassFile(const ClassData& data, const QString& savedPath = QString());

// Throws EClassFileError.
ClassFileContents ReadClassFile(const QByteArray& bytes);

// Reads the file at path within the bounds above. Throws EClassFileError.
ClassFileContents LoadClassFile(const QString& path);
