#pragma once
// The grade window's commands that bring classes in and keep the grade:
// class files, one workbook of several classes, the grade file. Each asks
// what only the teacher can decide and leaves the grade as it was when she
// says no or a file cannot be read.
#include <QString>

class TForm1;
class TGradeWindow;

inline const QString kGradeFileFilter = QStringLiteral("年级文件(*.mwgrade)|*.mwgrade");

// 年级对比…: the form's one grade window, shown and raised.
TGradeWindow& ShowGradeWindow(TForm1& form);

void AddClassFiles(TGradeWindow& window);
// Each sheet with rows a class, or a 班级 column's classes; confirmed first.
void ImportGradeWorkbook(TGradeWindow& window);
void RemoveSelectedClass(TGradeWindow& window);
// Into the grade's file, or where the teacher says; classes without a file
// are first saved as class files beside it. False when nothing was saved.
bool SaveGrade(TGradeWindow& window);
void OpenGrade(TGradeWindow& window);
// Puts the grade of the file at path in the window's place; refusals are told.
bool OpenGradeFile(TGradeWindow& window, const QString& path);
