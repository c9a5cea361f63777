#pragma once
// Every message box and file dialog the program shows goes through this seam,
// so tests can answer them and record what was shown.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class MsgIcon { None, Information, Question, Warning, Error };
enum class MsgButtons { OK, OKCancel, YesNo };
enum class MsgResult { OK, Cancel, Yes, No };
// The answers to "save the changes first?".
enum class SaveAnswer { Save, Discard, Cancel };

struct SaveDialogRequest {
    QString filter;         // "Word文档(*.doc)|*.doc": description|pattern pairs
    QString fileName;       // offered name (the last confirmed one)
    QString defaultExt;
    bool overwritePrompt = true;
    bool hideReadOnly = true;
    bool resizable = true;
};

struct OpenDialogRequest {
    QString filter;    // description|pattern pairs, patterns separated by ';'
    QString fileName;  // the last chosen file: its folder is where the dialog opens
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult Message(QWidget* owner, const QString& caption, const QString& text,
                              MsgIcon icon, MsgButtons buttons) = 0;
    // The confirmed file name, or nothing when the user cancelled.
    virtual std::optional<QString> SaveFile(QWidget* owner, const SaveDialogRequest& request) = 0;
    // An existing file the user picked, or nothing when the user cancelled
    // (or the dialogs in force ask nobody).
    virtual std::optional<QString> OpenFile(QWidget*, const OpenDialogRequest&) { return std::nullopt; }
    // An existing folder the user picked, starting from start, or nothing
    // when the user cancelled (or the dialogs in force ask nobody).
    virtual std::optional<QString> ChooseFolder(QWidget*, const QString& /*caption*/, const QString& /*start*/) {
        return std::nullopt;
    }
    // Asks whether to save changes before they would be lost: 保存, 不保存 or
    // 取消 (also Escape and the window's close button). Dialogs that ask
    // nobody cancel, so nothing is lost unasked.
    virtual SaveAnswer AskToSave(QWidget*, const QString&, const QString&) { return SaveAnswer::Cancel; }

    // The dialogs in force; the Qt dialogs unless a test installed others.
    static Dialogs& Current();
    // Installs d (not owned) and returns the previous one; nullptr restores the Qt dialogs.
    static Dialogs* Install(Dialogs* d);
};

// Converts a "desc|pattern|desc|pattern" filter to Qt's "desc (pattern);;..." form.
QString QtNameFilter(const QString& filter);
