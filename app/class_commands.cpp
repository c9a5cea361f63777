#include "class_commands.h"

#include "application.h"
#include "atomic_file.h"
#include "autosave.h"
#include "busy_work.h"
#include "class_file.h"
#include "dialogs.h"
#include "main_window.h"
#include "recovery_slot.h"
#include "skin_menu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSuffix = QStringLiteral(".mwclass");

QString Shown(const QString& path) { return QFileInfo(path).fileName(); }

void Tell(TForm1& form, const QString& text, MsgIcon icon) {
    Dialogs::Current().Message(&form, Application().Title(), text, icon, MsgButtons::OK);
}

// A name the save dialog offers for a class that has no file yet: after the
// class, in the folder the teacher last used.
QString OfferedName(TForm1& form) {
    if (!form.Document.FileName().isEmpty()) return form.Document.FileName();
    const ClassInfo info = form.CurrentClass().info;
    QString name = info.className.trimmed();
    if (name.isEmpty()) name = info.courseName.trimmed();
    if (name.isEmpty()) name = QStringLiteral("本班成绩");
    for (QChar& c : name)
        if (c == '/' || c.unicode() < 32) c = '_';
    const QStringList recent = form.Recent.Files();
    const QString folder = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).absolutePath();
    return folder + "/" + name + kSuffix;
}

QString WithSuffix(const QString& name) {
    return name.endsWith(kSuffix, Qt::CaseInsensitive) ? name : name + kSuffix;
}

bool SaveClassTo(TForm1& form, const QString& path) {
    const ClassData data = form.CurrentClass();
    const QByteArray bytes = WriteClassFile(data);
    const bool existed = QFileInfo::exists(path);
    try {
        RunBusy(&form, QStringLiteral("正在保存班级文件……"), [&](const CancelFlag&) { WriteFileAtomically(path, bytes); });
    } catch (const EFileWriteError& e) {
        Tell(form,
             QStringLiteral("班级文件“%1”没有保存。").arg(Shown(path)) +
                 (existed ? QStringLiteral("原有的文件保持原样。") : QString()) + '\r' + e.Message(),
             MsgIcon::Error);
        return false;
    }
    form.Document.Kept(QFileInfo(path).absoluteFilePath(), data);
    form.Recent.Add(path);
    form.WorkChanged();
    return true;
}

QString RecentCaption(const QString& path) {
    const QFileInfo info(path);
    QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + '/')) folder = '~' + folder.mid(home.size());
    if (folder.size() > 32) folder = QStringLiteral("…") + folder.right(31);
    // "&" in a file name is a plain character, not a mnemonic.
    QString caption = info.fileName() + QStringLiteral("（") + folder + QStringLiteral("）");
    return caption.replace('&', QStringLiteral("&&"));
}

}  // namespace

bool SetClassAside(TForm1& form) {
    if (!form.Document.Modified(form.CurrentClass())) return true;
    switch (Dialogs::Current().AskToSave(&form, Application().Title(), kSaveQuestion)) {
    case SaveAnswer::Save: return SaveClass(form);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

void OpenClass(TForm1& form) {
    if (!SetClassAside(form)) return;
    OpenDialogRequest request;
    request.filter = kClassFileFilter;
    request.fileName = OfferedName(form);
    const std::optional<QString> path = Dialogs::Current().OpenFile(&form, request);
    if (path) OpenClassFile(form, *path);
}

bool OpenClassFile(TForm1& form, const QString& path) {
    ClassFileContents contents;
    try {
        RunBusy(&form, QStringLiteral("正在打开班级文件……"), [&](const CancelFlag&) { contents = LoadClassFile(path); });
    } catch (const EClassFileError& e) {
        Tell(form, QStringLiteral("无法打开班级文件“%1”。\r").arg(Shown(path)) + e.Message(), MsgIcon::Warning);
        return false;
    }
    form.ShowClass(contents.data);
    // What the window shows of it is what counts as kept.
    form.Document.Kept(QFileInfo(path).absoluteFilePath(), form.CurrentClass());
    form.Recent.Add(path);
    form.WorkChanged();
    return true;
}

bool SaveClass(TForm1& form) {
    if (form.Document.FileName().isEmpty()) return SaveClassAs(form);
    return SaveClassTo(form, form.Document.FileName());
}

bool SaveClassAs(TForm1& form) {
    SaveDialogRequest request;
    request.filter = kClassFileFilter;
    request.fileName = OfferedName(form);
    request.defaultExt = QString(kClassFileSuffix);
    request.overwritePrompt = true;
    const std::optional<QString> chosen = Dialogs::Current().SaveFile(&form, request);
    return chosen && SaveClassTo(form, WithSuffix(*chosen));
}

void ShowRecentFiles(TForm1& form) {
    const QStringList files = form.Recent.Files();
    bool missing = false;
    for (size_t k = 0; k < form.MbRecentFiles.size(); ++k) {
        TSkSkinItem* item = form.MbRecentFiles[k];
        const bool shown = qsizetype(k) < files.size();
        item->SetVisible(shown);
        if (!shown) continue;
        const QString& path = files[qsizetype(k)];
        const bool exists = QFileInfo(path).isFile();
        missing = missing || !exists;
        item->SetCaption(RecentCaption(path));
        item->SetHint(path);
        item->SetEnabled(exists);
    }
    form.MbRecentNone->SetVisible(files.isEmpty());
    form.MbRecentRemoveMissing->SetEnabled(missing);
    form.MbRecentClear->SetEnabled(!files.isEmpty());
}

void OpenRecentFile(TForm1& form, const QString& path) {
    if (path.isEmpty() || !SetClassAside(form)) return;
    OpenClassFile(form, path);
}

void OfferLeftWork(TForm1& form, const TRecoverySlot& slot) {
    for (const std::unique_ptr<TLeftRecovery>& left : slot.Left()) {
        const MsgResult answer = Dialogs::Current().Message(&form, Application().Title(), kRecoveryQuestion,
                                                            MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgResult::Yes) {
            left->Remove();
            continue;
        }
        ClassFileContents contents;
        try {
            contents = LoadClassFile(left->Path());
        } catch (const EClassFileError& e) {
            Tell(form, QStringLiteral("未保存的内容已经损坏，无法恢复。\r") + e.Message(), MsgIcon::Warning);
            // Kept aside, not offered again.
            QFile::remove(left->Path() + ".damaged");
            QFile::rename(left->Path(), left->Path() + ".damaged");
            continue;
        }
        form.ShowClass(contents.data);
        form.Document.Restored(contents.savedPath);
        // On the disk again as this copy's own before the old file goes.
        if (TAutosave* autosave = form.Autosave()) autosave->Flush();
        if (!left->Own()) left->Remove();
        return;
    }
}
