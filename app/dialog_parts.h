#pragma once
// Pieces the program's own dialogs share, so that they look and answer alike.
#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;

// A note in the greyed text of explanations, wrapped.
QLabel* GreyNote(const QString& text, const QString& objectName);

// 确定 and 取消, accepting and rejecting dialog.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// 写入分析结论 and 关闭: the first sets *requested and accepts dialog.
QDialogButtonBox* WriteOrCloseButtons(QDialog* dialog, bool* requested, QPushButton** write);
