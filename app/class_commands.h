#pragma once
// The class file commands of the "成绩单" menu, the question asked before a
// class with unsaved changes is put aside, and the offer of work a copy that
// died left behind.
#include <QString>

class TForm1;
class TRecoverySlot;

inline const QString kSaveQuestion = QStringLiteral("是否保存对本班的修改？");
inline const QString kRecoveryQuestion = QStringLiteral("上次未正常关闭，是否恢复未保存的内容？");
inline const QString kClassFileFilter = QStringLiteral("班级文件(*.mwclass)|*.mwclass");

// With unsaved changes: kSaveQuestion, with 保存, 不保存 and 取消. True when
// the caller may go on: nothing to lose, saved, or not wanted.
bool SetClassAside(TForm1& form);

// 打开…: the question, a file dialog, the file.
void OpenClass(TForm1& form);
// Puts the class of the file at path on screen; a refusal is explained and
// changes nothing. No question is asked here.
bool OpenClassFile(TForm1& form, const QString& path);
// 保存: into the class's file, or where the teacher says when it has none.
bool SaveClass(TForm1& form);
// 另存为…
bool SaveClassAs(TForm1& form);

// The 最近打开 items as the list stands now: missing files greyed.
void ShowRecentFiles(TForm1& form);
void OpenRecentFile(TForm1& form, const QString& path);

// Offers back, newest first, the work of copies that ended without a clean
// exit; the first one taken is put on screen, unsaved.
void OfferLeftWork(TForm1& form, const TRecoverySlot& slot);
