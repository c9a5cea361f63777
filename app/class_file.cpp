#include "class_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringDecoder>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxRows = 299;        // the score grid's rows
constexpr int kMaxDepth = 32;        // ours is 3 deep; room for what later versions add
constexpr qint64 kMaxTokens = 500000;  // strings, containers and separators

struct ExamModeName {
    ExamMode mode;
    const char* name;
};
constexpr ExamModeName kExamModes[] = {{ExamMode::ClosedBook, "closedBook"},
                                       {ExamMode::OpenBook, "openBook"},
                                       {ExamMode::Paper, "paper"},
                                       {ExamMode::Other, "other"}};

// ---- writing ----

QByteArray Quoted(const QString& s) {
    QByteArray out;
    out.reserve(s.size() + 2);
    out += '"';
    for (const char c : s.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) out += QByteArray("\\u00") + QByteArray::number(int(c), 16).rightJustified(2, '0');
            else out += c;
        }
    }
    out += '"';
    return out;
}

QString TimeText(const QTime& t) {
    if (!t.isValid()) return QString();
    return t.toString(t.second() == 0 && t.msec() == 0 ? QStringLiteral("H:mm") : QStringLiteral("H:mm:ss"));
}

const char* ExamModeText(ExamMode m) {
    for (const ExamModeName& e : kExamModes)
        if (e.mode == m) return e.name;
    return "closedBook";
}

// ---- reading ----

[[noreturn]] void Refuse(const QString& teacher, const QString& detail = QString()) {
    throw EClassFileError(detail.isEmpty() ? teacher : teacher + '\n' + detail);
}

[[noreturn]] void WrongItem(const QString& key, const char* expected) {
    Refuse(QStringLiteral("文件已损坏：“%1”一项的内容不对。").arg(key), QStringLiteral("%1 should be %2").arg(key, QLatin1String(expected)));
}

[[noreturn]] void WrongValue(const QString& key, const QString& value) {
    Refuse(QStringLiteral("文件已损坏：“%1”一项的值“%2”不对。").arg(key, value.left(40)));
}

// Depth and size are checked on the raw text, before a parser builds anything.
void CheckShape(const QByteArray& text) {
    int depth = 0;
    qint64 tokens = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            ++tokens;
            break;
        case '{':
        case '[':
            if (++depth > kMaxDepth) Refuse(QStringLiteral("文件的层次过深，不是本程序保存的班级文件。"), QStringLiteral("nesting deeper than %1").arg(kMaxDepth));
            ++tokens;
            break;
        case '}':
        case ']': --depth; break;
        case ',': ++tokens; break;
        default: break;
        }
        if (tokens > kMaxTokens)
            Refuse(QStringLiteral("文件中的数据项过多，不是本程序保存的班级文件。"), QStringLiteral("more than %1 items").arg(kMaxTokens));
    }
}

// A whole number from lo to hi; checked as a double before any conversion,
// which would be undefined for a value out of range.
bool WholeNumber(const QJsonValue& v, double lo, double hi) {
    if (!v.isDouble()) return false;
    const double d = v.toDouble();
    return d >= lo && d <= hi && d == std::floor(d);
}

// The one place that decides which versions this program reads.
void CheckVersion(const QJsonValue& v) {
    if (!WholeNumber(v, 1, 1e15)) Refuse(QStringLiteral("文件的格式版本不对，文件可能已经损坏。"));
    const qint64 version = qint64(v.toDouble());
    if (version > kClassFileVersion)
        Refuse(QStringLiteral("这个班级文件是由更新版本的程序保存的（文件格式第%1版），本程序只能打开第%2版及以前的文件。请先更新本程序。")
                   .arg(version)
                   .arg(kClassFileVersion));
}

QString Text(const QJsonObject& o, const char* key, const QString& path) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return QString();
    if (!v.isString()) WrongItem(path + QLatin1String(key), "text");
    // An escaped half of a surrogate pair is no text anyone typed.
    const QString s = v.toString();
    if (!QStringView(s).isValidUtf16()) WrongItem(path + QLatin1String(key), "valid text");
    return s;
}

QJsonObject Object(const QJsonValue& v, const QString& path) {
    if (!v.isObject()) WrongItem(path, "an object");
    return v.toObject();
}

QDate DateValue(const QJsonObject& o, const char* key) {
    const QString s = Text(o, key, QStringLiteral("info."));
    if (s.isEmpty()) return QDate();
    const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) WrongValue(QStringLiteral("info.") + QLatin1String(key), s);
    return d;
}

QTime TimeValue(const QJsonObject& o, const char* key) {
    const QString s = Text(o, key, QStringLiteral("info."));
    if (s.isEmpty()) return QTime();
    QTime t = QTime::fromString(s, QStringLiteral("H:mm"));
    if (!t.isValid()) t = QTime::fromString(s, QStringLiteral("H:mm:ss"));
    if (!t.isValid()) WrongValue(QStringLiteral("info.") + QLatin1String(key), s);
    return t;
}

ClassInfo ReadInfo(const QJsonObject& o) {
    const QString p = QStringLiteral("info.");
    ClassInfo i;
    i.courseName = Text(o, "courseName", p);
    i.teacher = Text(o, "teacher", p);
    i.courseNumber = Text(o, "courseNumber", p);
    i.credits = Text(o, "credits", p);
    i.hours = Text(o, "hours", p);
    i.className = Text(o, "className", p);
    i.examDate = DateValue(o, "examDate");
    i.beginTime = TimeValue(o, "beginTime");
    i.endTime = TimeValue(o, "endTime");
    const QString mode = Text(o, "examMode", p);
    if (!mode.isEmpty()) {
        bool known = false;
        for (const ExamModeName& e : kExamModes)
            if (mode == QLatin1String(e.name)) {
                i.examMode = e.mode;
                known = true;
            }
        if (!known) WrongValue(QStringLiteral("info.examMode"), mode);
    }
    return i;
}

// A question's full marks: above 0 and at most the largest full marks of a test.
bool QuestionMarks(const QJsonValue& v) {
    if (!v.isDouble()) return false;
    const double d = v.toDouble();
    return std::isfinite(d) && d > 0 && d <= kMaxFullMarks;
}

void ReadQuestions(const QJsonValue& value, ClassItems& items) {
    if (value.isUndefined()) return;
    if (!value.isArray()) WrongItem(QStringLiteral("questions"), "a list");
    const QJsonArray list = value.toArray();
    if (list.size() > kMaxQuestions)
        Refuse(QStringLiteral("文件中有%1道小题，超过了%2道。").arg(list.size()).arg(kMaxQuestions));
    for (qsizetype k = 0; k < list.size(); ++k) {
        const QString path = QStringLiteral("questions[%1].").arg(k);
        const QJsonObject q = Object(list[k], path.chopped(1));
        const QString name = Text(q, "name", path);
        if (name.trimmed().isEmpty() || name.size() > 40) WrongItem(path + QLatin1String("name"), "a short text");
        const QJsonValue marks = q.value(QLatin1String("fullMarks"));
        if (!QuestionMarks(marks)) WrongItem(path + QLatin1String("fullMarks"), "a number above 0, at most 1000");
        items.questions << name;
        items.fullMarks.push_back(marks.toDouble());
    }
}

// A row's texts per question, as many as there are questions; none for a row without.
QStringList RowItems(const QJsonObject& row, const QString& path, qsizetype questions) {
    const QJsonValue value = row.value(QLatin1String("items"));
    if (value.isUndefined()) return {};
    const QString key = path + QLatin1String("items");
    if (!value.isArray()) WrongItem(key, "a list");
    const QJsonArray list = value.toArray();
    if (list.size() != questions)
        Refuse(QStringLiteral("文件已损坏：“%1”一项有%2个小题分，而试卷有%3道小题。").arg(key).arg(list.size()).arg(questions));
    QStringList out;
    for (const QJsonValue& v : list) {
        if (!v.isString() || v.toString().size() > 40 || !QStringView(v.toString()).isValidUtf16()) WrongItem(key, "short texts");
        out << v.toString();
    }
    return out;
}

void ReadRows(const QJsonValue& value, ClassData& c) {
    if (value.isUndefined()) return;
    if (!value.isArray()) WrongItem(QStringLiteral("rows"), "a list");
    const QJsonArray rows = value.toArray();
    if (rows.size() > kMaxRows)
        Refuse(QStringLiteral("文件中有%1行成绩，超过了成绩表的%2行。").arg(rows.size()).arg(kMaxRows));
    std::vector<ClassStudent> roster;
    std::vector<QStringList> items;
    bool anyStudent = false, anyItems = false;
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const QString path = QStringLiteral("rows[%1].").arg(k);
        const QJsonObject row = Object(rows[k], path.chopped(1));
        c.scores << Text(row, "score", path);
        items.push_back(RowItems(row, path, c.items.questions.size()));
        anyItems = anyItems || !items.back().isEmpty();
        ClassStudent s{Text(row, "number", path), Text(row, "name", path)};
        anyStudent = anyStudent || !s.IsEmpty();
        roster.push_back(std::move(s));
    }
    if (anyStudent) c.roster = std::move(roster);
    if (anyItems) c.items.rows = std::move(items);
}

// The shortest text that reads back as the same double: 2.5 stays "2.5".
QByteArray NumberText(double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest).toLatin1(); }

QByteArray QuotedList(const QStringList& texts) {
    QByteArrayList quoted;
    for (const QString& t : texts) quoted << Quoted(t);
    return '[' + quoted.join(", ") + ']';
}

}  // namespace

QByteArray WriteClassFile(const ClassData& c, const QString& savedPath) {
    const ClassInfo& i = c.info;
    QByteArray out = kClassFileStart;
    const bool items = !c.items.IsEmpty();
    out += QByteArray::number(items ? kClassFileItemsVersion : 1) + ",\n";
    if (!savedPath.isEmpty()) out += "    \"savedPath\": " + Quoted(savedPath) + ",\n";
    out += "    \"fullMarks\": " + QByteArray::number(c.fullMarks) + ",\n";
    if (items) {
        out += "    \"questions\": [";
        for (qsizetype q = 0; q < c.items.questions.size(); ++q) {
            const double marks = size_t(q) < c.items.fullMarks.size() ? c.items.fullMarks[size_t(q)] : 0;
            out += q == 0 ? "\n        " : ",\n        ";
            out += "{\"name\": " + Quoted(c.items.questions[q]) + ", \"fullMarks\": " + NumberText(marks) + '}';
        }
        out += "\n    ],\n";
    }
    out += "    \"info\": {\n";
    const std::pair<const char*, QString> fields[] = {
        {"courseName", i.courseName},
        {"teacher", i.teacher},
        {"courseNumber", i.courseNumber},
        {"credits", i.credits},
        {"hours", i.hours},
        {"className", i.className},
        {"examDate", i.examDate.isValid() ? i.examDate.toString(QStringLiteral("yyyy-MM-dd")) : QString()},
        {"beginTime", TimeText(i.beginTime)},
        {"endTime", TimeText(i.endTime)},
        {"examMode", QLatin1String(ExamModeText(i.examMode))},
    };
    for (const auto& [key, value] : fields) out += QByteArray("        \"") + key + "\": " + Quoted(value) + ",\n";
    out.chop(2);
    out += "\n    },\n";
    out += "    \"conclusion\": " + Quoted(c.conclusion) + ",\n";
    out += "    \"rows\": [";
    const bool roster = !c.roster.empty();
    for (qsizetype k = 0; k < c.scores.size(); ++k) {
        out += k == 0 ? "\n        " : ",\n        ";
        out += "{\"score\": " + Quoted(c.scores[k]);
        if (roster) {
            const ClassStudent s = size_t(k) < c.roster.size() ? c.roster[size_t(k)] : ClassStudent{};
            out += ", \"number\": " + Quoted(s.number) + ", \"name\": " + Quoted(s.name);
        }
        if (items && size_t(k) < c.items.rows.size() && !c.items.rows[size_t(k)].isEmpty())
            out += ", \"items\": " + QuotedList(c.items.rows[size_t(k)]);
        out += '}';
    }
    out += c.scores.isEmpty() ? "]\n}\n" : "\n    ]\n}\n";
    return out;
}

ClassFileContents ReadClassFile(const QByteArray& raw) {
    if (raw.size() > kMaxClassFileBytes)
        Refuse(QStringLiteral("文件太大（%1 MB），不是本程序保存的班级文件。").arg(raw.size() >> 20));
    // A text editor may have put a byte order mark in front.
    const QByteArray bytes = raw.startsWith("\xEF\xBB\xBF") ? raw.mid(3) : raw;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(bytes));
    if (utf8.hasError())
        Refuse(QStringLiteral("文件里有无法识别的文字，它不是本程序保存的班级文件，或者已经损坏。"), QStringLiteral("invalid UTF-8"));
    CheckShape(bytes);

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        Refuse(QStringLiteral("文件不完整或已经损坏。"), QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!doc.isObject() || doc.object().value(QLatin1String("format")) != QLatin1String("markwise-class"))
        Refuse(QStringLiteral("这不是本程序的班级文件。"));
    const QJsonObject root = doc.object();
    CheckVersion(root.value(QLatin1String("version")));

    ClassFileContents out;
    ClassData& c = out.data;
    const QJsonValue marks = root.value(QLatin1String("fullMarks"));
    if (!marks.isUndefined()) {
        if (!WholeNumber(marks, kMinFullMarks, kMaxFullMarks))
            WrongItem(QStringLiteral("fullMarks"), "a whole number from 1 to 1000");
        c.fullMarks = int(marks.toDouble());
    }
    const QJsonValue info = root.value(QLatin1String("info"));
    if (!info.isUndefined()) c.info = ReadInfo(Object(info, QStringLiteral("info")));
    c.conclusion = Text(root, "conclusion", QString());
    ReadQuestions(root.value(QLatin1String("questions")), c.items);
    ReadRows(root.value(QLatin1String("rows")), c);
    // Questions without a row that has their scores are nothing to analyse,
    // whether the rows are missing or none has them.
    if (c.items.rows.empty()) c.items = ClassItems{};
    out.savedPath = Text(root, "savedPath", QString());
    return out;
}

ClassFileContents LoadClassFile(const QString& path) {
    // Not blocking on a pipe or a device that was given a class file's name.
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT) Refuse(QStringLiteral("文件不存在。"));
        if (err == EACCES) Refuse(QStringLiteral("没有读这个文件的权限。"));
        Refuse(QStringLiteral("文件打不开。"), QString::fromLocal8Bit(std::strerror(err)));
    }
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) Refuse(QStringLiteral("这不是一个普通的文件。"));
    if (st.st_size > kMaxClassFileBytes)
        Refuse(QStringLiteral("文件太大（%1 MB），不是本程序保存的班级文件。").arg(qint64(st.st_size) >> 20));
    // Read at most one byte past the limit, in case the file grows meanwhile.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Refuse(QStringLiteral("读文件时出错。"), QString::fromLocal8Bit(std::strerror(errno)));
        if (n == 0) break;
        got += n;
    }
    bytes.truncate(got);
    return ReadClassFile(bytes);
}
