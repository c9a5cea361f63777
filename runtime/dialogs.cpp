#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
class QtDialogs final : public Dialogs {
public:
    MsgResult Message(QWidget* owner, const QString& caption, const QString& text,
                      MsgIcon icon, MsgButtons buttons) override {
        QMessageBox box(owner);
        box.setWindowTitle(caption);
        // Texts break lines with a bare CR; the Qt box wants LF.
        box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n'));
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        }
        switch (buttons) {
        case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok: return MsgResult::OK;
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        default: return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
        }
    }

    SaveAnswer AskToSave(QWidget* owner, const QString& caption, const QString& text) override {
        QMessageBox box(owner);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setIcon(QMessageBox::Question);
        QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save) return SaveAnswer::Save;
        if (box.clickedButton() == discard) return SaveAnswer::Discard;
        return SaveAnswer::Cancel;
    }

    std::optional<QString> SaveFile(QWidget* owner, const SaveDialogRequest& r) override {
        QFileDialog dlg(owner);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setNameFilter(QtNameFilter(r.filter));
        if (!r.defaultExt.isEmpty()) dlg.setDefaultSuffix(r.defaultExt);
        if (!r.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
        dlg.setOption(QFileDialog::ReadOnly, false);
        dlg.setSizeGripEnabled(r.resizable);
        return Run(dlg, r.fileName);
    }

    std::optional<QString> OpenFile(QWidget* owner, const OpenDialogRequest& r) override {
        QFileDialog dlg(owner);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setNameFilter(QtNameFilter(r.filter));
        return Run(dlg, r.fileName);
    }

    std::optional<QString> ChooseFolder(QWidget* owner, const QString& caption, const QString& start) override {
        QFileDialog dlg(owner, caption);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly);
        if (!start.isEmpty()) dlg.setDirectory(start);
        return Run(dlg, QString());
    }

private:
    static std::optional<QString> Run(QFileDialog& dlg, const QString& fileName) {
        if (!fileName.isEmpty()) dlg.selectFile(fileName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return dlg.selectedFiles().front();
    }
};

QtDialogs& qtDialogs() {
    static QtDialogs d;
    return d;
}
Dialogs* g_current = nullptr;
}

Dialogs& Dialogs::Current() { return g_current ? *g_current : qtDialogs(); }

Dialogs* Dialogs::Install(Dialogs* d) {
    Dialogs* old = g_current;
    g_current = d;
    return old;
}

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        QString pattern = QString(parts[i + 1]).replace(';', ' ');
        // "Word文档(*.doc)" already names its pattern; Qt still needs it in parentheses at the end.
        out << (desc.endsWith(')') && desc.contains(pattern) ? desc : desc + " (" + pattern + ")");
    }
    return out.join(";;");
}
