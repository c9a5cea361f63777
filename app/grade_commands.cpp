#include "grade_commands.h"

#include "application.h"
#include "atomic_file.h"
#include "busy_work.h"
#include "class_commands.h"
#include "class_file.h"
#include "column_dialog.h"
#include "dialogs.h"
#include "grade_file.h"
#include "grade_reports.h"
#include "grade_split.h"
#include "grade_window.h"
#include "main_window.h"
#include "score_file.h"
#include "score_import.h"
#include "score_reader.h"
#include "sheet_archive.h"
#include "spreadsheet.h"
#include "student_lists.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kBookFilter =
    QStringLiteral("成绩表格(*.xlsx *.xls *.ods *.csv *.txt)|*.xlsx;*.xls;*.ods;*.csv;*.txt");

void Warn(QWidget* owner, const QString& text) {
    Dialogs::Current().Message(owner, Application().Title(), text, MsgIcon::Warning, MsgButtons::OK);
}

bool Confirm(QWidget* owner, const QString& text) {
    return Dialogs::Current().Message(owner, Application().Title(), text, MsgIcon::Question, MsgButtons::OKCancel) ==
           MsgResult::OK;
}

QString Shown(const QString& path) { return QFileInfo(path).fileName(); }

// Where the last file of the grade window came from, for the next dialog.
// Before any, the dialogs open in the teacher's home folder.
QString& LastFile() {
    static QString last = QDir::homePath() + QLatin1Char('/');
    return last;
}

// A class to be added, once read and agreed.
struct Arrival {
    QString name;
    ClassData data;
    QString path;
};

// Adds what was read; what the grade refuses is told in one message.
void AddAll(TGradeWindow& w, const std::vector<Arrival>& arrivals, QStringList problems) {
    for (const Arrival& a : arrivals) {
        try {
            w.Grade().Add(a.name, a.data, a.path);
        } catch (const EGradeError& e) {
            problems << e.Message();
        }
    }
    w.Refresh();
    if (!problems.isEmpty()) Warn(&w, ListedLines(problems));
}

// The class of one table of the workbook, as the import reads it; nothing
// when the teacher cancelled the column question. A class with nothing to
// take goes into problems.
std::optional<std::optional<ScoreList>> ReadClassTable(TGradeWindow& w, const ClassTable& c, const QString& source,
                                                       int fullMarks, QStringList& problems) {
    ScoreReading reading = ReadScoreTable(c.table, fullMarks);
    if (reading.outcome == ScoreReading::Outcome::ChooseColumn) {
        const auto chosen = TColumnDialog::Ask(&w, QStringLiteral("%1的“%2”").arg(source, c.name), reading.choices, QString());
        if (!chosen) return std::nullopt;
        reading = ReadScoreTable(c.table, fullMarks, reading.choices[size_t(*chosen)].index);
    }
    switch (reading.outcome) {
    case ScoreReading::Outcome::Ready:
        if (!reading.list.scores.isEmpty()) {
            if (reading.list.scores.size() > kScoreRows) {
                problems << QStringLiteral("“%1”有%2个成绩，超过了成绩表的%3行，没有导入。")
                                .arg(c.name)
                                .arg(reading.list.scores.size())
                                .arg(kScoreRows);
                return std::optional<ScoreList>{};
            }
            return std::optional<ScoreList>{reading.list};
        }
        break;
    case ScoreReading::Outcome::CellTooLong:
        problems << QStringLiteral("“%1”第%2行有一个单元格太长，不像是成绩表的内容，没有导入。").arg(c.name).arg(reading.longCellRow);
        return std::optional<ScoreList>{};
    case ScoreReading::Outcome::NoScoreColumn:
        problems << QStringLiteral("“%1”中找不到成绩列，没有导入。").arg(c.name);
        return std::optional<ScoreList>{};
    default: break;
    }
    problems << QStringLiteral("“%1”中没有0~%2范围的成绩，没有导入。").arg(c.name).arg(fullMarks);
    return std::optional<ScoreList>{};
}

QString UniquePath(const QString& folder, const QString& base, const QString& suffix) {
    QString path = folder + '/' + base + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n) path = folder + QStringLiteral("/%1（%2）%3").arg(base).arg(n).arg(suffix);
    return path;
}

}  // namespace

TGradeWindow& ShowGradeWindow(TForm1& form) {
    auto* w = form.findChild<TGradeWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!w) w = new TGradeWindow(form);
    w->show();
    w->raise();
    w->activateWindow();
    return *w;
}

void AddClassFiles(TGradeWindow& w) {
    OpenDialogRequest request;
    request.filter = kClassFileFilter;
    request.fileName = LastFile();
    const auto path = Dialogs::Current().OpenFile(&w, request);
    if (!path) return;
    LastFile() = *path;
    ClassFileContents contents;
    try {
        RunBusy(&w, QStringLiteral("正在打开班级文件……"), [&](const CancelFlag&) { contents = LoadClassFile(*path); });
    } catch (const EClassFileError& e) {
        Warn(&w, QStringLiteral("班级文件“%1”没有加入：%2").arg(Shown(*path), e.Message()));
        return;
    }
    AddAll(w, {{DefaultClassName(contents.data, QFileInfo(*path).completeBaseName()), contents.data, *path}}, {});
}

void ImportGradeWorkbook(TGradeWindow& w) {
    OpenDialogRequest request;
    request.filter = kBookFilter;
    request.fileName = LastFile();
    const auto path = Dialogs::Current().OpenFile(&w, request);
    if (!path) return;
    LastFile() = *path;
    const QString source = QStringLiteral("文件“%1”").arg(Shown(*path));
    std::optional<std::vector<ScoreSheet>> sheets;
    try {
        sheets = RunBusyFor<std::vector<ScoreSheet>>(
            &w, QStringLiteral("正在读取%1……").arg(source),
            [p = *path](const CancelFlag& cancelled) { return ReadScoreFile(p, cancelled); });
    } catch (const ESheetError& e) {
        Warn(&w, SheetMessage(e, source));
        return;
    } catch (const ESheetFileError& e) {
        Warn(&w, QStringLiteral("无法读取%1：%2").arg(source, e.Message()));
        return;
    } catch (const EReadCancelled&) {
        return;
    }
    if (!sheets) return;
    const WorkbookSplit split = SplitWorkbook(*sheets, QFileInfo(*path).completeBaseName());
    if (split.classes.empty()) {
        Warn(&w, QStringLiteral("%1中没有任何内容，没有导入任何班级。").arg(source));
        return;
    }
    TForm1& form = w.Form();
    const int fullMarks = w.Grade().Count() > 0 ? w.Grade().FullMarks() : form.FullMarks();
    QStringList problems, lines;
    std::vector<Arrival> arrivals;
    // The description typed on the information tab is the one these classes share.
    ClassInfo shared = form.CurrentClass().info;
    for (const ClassTable& c : split.classes) {
        const auto read = ReadClassTable(w, c, source, fullMarks, problems);
        if (!read) return;  // cancelled: nothing changes
        if (!*read) continue;
        const ScoreList& list = **read;
        Arrival a;
        a.name = c.name.isEmpty() ? QStringLiteral("工作表") : c.name;
        a.data.scores = list.scores;
        if (list.HasRoster()) a.data.roster = list.students;
        a.data.info = shared;
        a.data.info.className = a.name;
        a.data.fullMarks = fullMarks;
        QString line = QStringLiteral("%1：%2个成绩").arg(a.name).arg(list.scores.size());
        if (!list.refused.empty()) line += QStringLiteral("（另有%1行不是0~%2范围的分数，不导入）").arg(list.refused.size()).arg(fullMarks);
        lines << line;
        arrivals.push_back(std::move(a));
    }
    if (arrivals.empty()) {
        Warn(&w, QStringLiteral("%1中没有可以导入的班级：\r").arg(source) + ListedLines(problems));
        return;
    }
    const QString how = split.by == WorkbookSplit::By::Sheets        ? QStringLiteral("每个工作表是一个班级")
                        : split.by == WorkbookSplit::By::ClassColumn ? QStringLiteral("按“%1”列分班").arg(split.classHeader)
                                                                     : QStringLiteral("整个表格是一个班级");
    QString text = QStringLiteral("%1中有%2个班级（%3）：\r").arg(source).arg(arrivals.size()).arg(how) + ListedLines(lines);
    if (!split.unassigned.empty())
        text += QStringLiteral("\r另有%1行没有填写班级，不导入。").arg(split.unassigned.size());
    if (!problems.isEmpty()) text += QStringLiteral("\r\r以下班级不能导入：\r") + ListedLines(problems);
    text += QStringLiteral("\r\r是否把这%1个班级加入年级对比？满分按%2分计算。").arg(arrivals.size()).arg(fullMarks);
    if (!Confirm(&w, text)) return;
    AddAll(w, arrivals, {});
}

void RemoveSelectedClass(TGradeWindow& w) {
    const int k = w.SelectedClass();
    if (k < 0) return;
    w.Grade().Remove(k);
    w.Refresh();
}

bool SaveGrade(TGradeWindow& w) {
    TGrade& grade = w.Grade();
    QString path = grade.filePath;
    if (path.isEmpty()) {
        SaveDialogRequest request;
        request.filter = kGradeFileFilter;
        request.defaultExt = QStringLiteral("mwgrade");
        const QString folder = QFileInfo(LastFile()).absolutePath();
        request.fileName = folder + QStringLiteral("/年级对比.mwgrade");
        const auto chosen = Dialogs::Current().SaveFile(&w, request);
        if (!chosen) return false;
        path = *chosen;
        if (!path.endsWith(QStringLiteral(".mwgrade"), Qt::CaseInsensitive)) path += QStringLiteral(".mwgrade");
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    // The classes that came from a workbook get files of their own first.
    std::vector<std::pair<int, QString>> newFiles;
    for (int k = 0; k < grade.Count(); ++k)
        if (grade.At(k).filePath.isEmpty())
            newFiles.emplace_back(k, UniquePath(folder.absolutePath(), SafeFileName(grade.At(k).name), QStringLiteral(".mwclass")));
    GradeFileContents contents;
    contents.fullMarks = grade.FullMarks();
    for (int k = 0; k < grade.Count(); ++k) {
        QString file = grade.At(k).filePath;
        for (const auto& [index, p] : newFiles)
            if (index == k) file = p;
        contents.classes.push_back({grade.At(k).name, folder.relativeFilePath(file)});
    }
    std::vector<std::pair<QString, QByteArray>> writes;
    for (const auto& [k, p] : newFiles) {
        ClassData data = grade.At(k).data;
        data.info.className = grade.At(k).name;
        writes.emplace_back(p, WriteClassFile(data));
    }
    writes.emplace_back(path, WriteGradeFile(contents));
    QString failed;
    try {
        RunBusy(&w, QStringLiteral("正在保存年级……"), [&](const CancelFlag&) {
            for (const auto& [p, bytes] : writes) {
                failed = p;
                WriteFileAtomically(p, bytes);
            }
        });
    } catch (const EFileWriteError& e) {
        Warn(&w, QStringLiteral("“%1”没有保存，年级没有保存。\r%2").arg(Shown(failed), e.Message()));
        // Class files already written stay; the grade keeps pointing at none of them.
        return false;
    }
    for (const auto& [k, p] : newFiles) grade.SetFilePath(k, p);
    grade.filePath = QFileInfo(path).absoluteFilePath();
    LastFile() = grade.filePath;
    if (!newFiles.empty()) {
        QStringList names;
        for (const auto& [k, p] : newFiles) names << Shown(p);
        Dialogs::Current().Message(&w, Application().Title(),
                                   QStringLiteral("年级已保存到“%1”。\r导入的班级各自保存为班级文件：\r").arg(Shown(path)) +
                                       ListedLines(names),
                                   MsgIcon::Information, MsgButtons::OK);
    }
    return true;
}

void OpenGrade(TGradeWindow& w) {
    if (w.Grade().Count() > 0 &&
        !Confirm(&w, QStringLiteral("打开年级文件后，现在的%1个班级将被替换。是否继续？").arg(w.Grade().Count())))
        return;
    OpenDialogRequest request;
    request.filter = kGradeFileFilter;
    request.fileName = LastFile();
    const auto path = Dialogs::Current().OpenFile(&w, request);
    if (!path) return;
    LastFile() = *path;
    OpenGradeFile(w, *path);
}

bool OpenGradeFile(TGradeWindow& w, const QString& path) {
    struct Loaded {
        GradeFileContents grade;
        std::vector<Arrival> classes;
        QStringList problems;
    };
    Loaded loaded;
    try {
        RunBusy(&w, QStringLiteral("正在打开年级……"), [&](const CancelFlag&) {
            loaded.grade = LoadGradeFile(path);
            const QDir folder = QFileInfo(path).absoluteDir();
            for (const GradeFileEntry& e : loaded.grade.classes) {
                const QString file = folder.absoluteFilePath(e.file);
                try {
                    loaded.classes.push_back({e.name, LoadClassFile(file).data, file});
                } catch (const EClassFileError& err) {
                    loaded.problems << QStringLiteral("“%1”（%2）：%3").arg(e.name, Shown(file), err.Message());
                }
            }
        });
    } catch (const EGradeFileError& e) {
        Warn(&w, QStringLiteral("年级文件“%1”无法打开：%2").arg(Shown(path), e.Message()));
        return false;
    }
    w.Grade().Clear();
    w.Grade().filePath = QFileInfo(path).absoluteFilePath();
    if (!loaded.problems.isEmpty())
        loaded.problems.prepend(QStringLiteral("年级文件“%1”中以下班级没有打开：").arg(Shown(path)));
    AddAll(w, loaded.classes, loaded.problems);
    return true;
}
