// The class file as bytes: what the writer puts down, and what the reader
// takes from files that come from anywhere.
#include "class_file.h"
#include "qt_stream.h"
#include "qt_print.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ClassData FullClass() {
    ClassData c;
    c.scores = {"95", "", "59.5", "85.", "100"};
    c.roster = {{"2023001", "张三"}, {"2023002", "李\"四\""}, {"", ""}, {"007", ""}, {"", "王五\\六"}};
    c.info.courseName = "大学物理\t(上)";
    c.info.teacher = "王老师";
    c.info.courseNumber = "1024";
    c.info.credits = "3";
    c.info.hours = "48";
    c.info.className = "高一(3)班";
    c.info.examDate = QDate(2026, 6, 18);
    c.info.beginTime = QTime(8, 5);
    c.info.endTime = QTime(10, 30, 15);
    c.info.examMode = ExamMode::Paper;
    c.conclusion = "电磁学错误率较高。\r\n\r\n下学期加强练习。\u0001";
    c.fullMarks = 150;
    return c;
}

// The message of the refusal, or "" when the bytes were read.
QString Refusal(const QByteArray& bytes) {
    try {
        ReadClassFile(bytes);
        return QString();
    } catch (const EClassFileError& e) {
        return e.Message();
    }
}

QByteArray WithRows(const QByteArray& rows) {
    return QByteArray(kClassFileStart) + "1,\n    \"rows\": " + rows + "\n}\n";
}

}  // namespace

TEST(ClassFile, BeginsWithTheFixedBytesAndComesBackTheSame) {
    const ClassData c = FullClass();
    const QByteArray bytes = WriteClassFile(c);
    EXPECT_TRUE(bytes.startsWith("{\n    \"format\": \"markwise-class\",\n    \"version\": 1,\n")) << bytes.left(80);
    // A file manager's rule looks at the first 64 bytes.
    EXPECT_TRUE(bytes.left(64).contains("\"format\": \"markwise-class\""));
    // Readable by a person: the Chinese is there as it is, not escaped.
    EXPECT_TRUE(bytes.contains("\"teacher\": \"王老师\""));
    EXPECT_TRUE(bytes.contains("\"examDate\": \"2026-06-18\""));
    EXPECT_TRUE(bytes.contains("\"beginTime\": \"8:05\""));
    EXPECT_TRUE(bytes.contains("\"endTime\": \"10:30:15\""));
    EXPECT_TRUE(bytes.contains("\"examMode\": \"paper\""));

    const ClassFileContents back = ReadClassFile(bytes);
    EXPECT_EQ(back.data, c);
    EXPECT_TRUE(back.savedPath.isEmpty());
    EXPECT_EQ(WriteClassFile(back.data), bytes);

    // Without a roster no row names anybody, and none comes back.
    ClassData typed = c;
    typed.roster.clear();
    const QByteArray plain = WriteClassFile(typed);
    EXPECT_FALSE(plain.contains("\"name\""));
    EXPECT_EQ(ReadClassFile(plain).data, typed);

    // A recovery file says which class file the work belonged to.
    const ClassFileContents recovered = ReadClassFile(WriteClassFile(typed, "/home/王/高一3班.mwclass"));
    EXPECT_EQ(recovered.savedPath, "/home/王/高一3班.mwclass");
    EXPECT_EQ(recovered.data, typed);

    // An empty class is a file too.
    EXPECT_EQ(ReadClassFile(WriteClassFile(ClassData{})).data, ClassData{});
}

TEST(ClassFile, WhatASameVersionFileLeavesOutOrAddsIsTakenCalmly) {
    // Unknown keys, at any level, are passed over.
    const QByteArray extra = QByteArray(kClassFileStart) +
                             "1,\n \"later\": {\"a\": [1, 2, {\"b\": null}]},\n \"info\": {\"teacher\": \"李\", \"mood\": 3},\n"
                             " \"rows\": [{\"score\": \"88\", \"questions\": [5, 3]}]\n}";
    const ClassData c = ReadClassFile(extra).data;
    EXPECT_EQ(c.info.teacher, "李");
    EXPECT_EQ(c.scores, QStringList{"88"});
    EXPECT_TRUE(c.roster.empty());
    // Missing keys take the defaults; no date or time stays unset, so the
    // window keeps what its pickers show.
    const ClassData bare = ReadClassFile(QByteArray(kClassFileStart) + "1\n}").data;
    EXPECT_EQ(bare.fullMarks, 100);
    EXPECT_FALSE(bare.info.examDate.isValid());
    EXPECT_FALSE(bare.info.beginTime.isValid());
    EXPECT_EQ(bare.info.examMode, ExamMode::ClosedBook);
    // A text editor's byte order mark in front does no harm.
    EXPECT_EQ(ReadClassFile("\xEF\xBB\xBF" + WriteClassFile(FullClass())).data, FullClass());
}

TEST(ClassFile, ANewerVersionIsRefusedInWordsThatSaySo) {
    // Version 2 (per-question scores) is this program's own; 3 is not.
    const QString newer = Refusal(QByteArray(kClassFileStart) + "3,\n    \"rows\": []\n}\n");
    EXPECT_TRUE(newer.contains(QStringLiteral("更新版本"))) << newer;
    EXPECT_TRUE(newer.contains(QStringLiteral("第3版"))) << newer;
    EXPECT_TRUE(newer.contains(QStringLiteral("第2版"))) << newer;
    for (const char* version : {"0", "-1", "1.5", "\"1\"", "null", "7.7e70", "-7.7e70"}) {
        const QString m = Refusal(QByteArray(kClassFileStart) + version + "\n}");
        EXPECT_TRUE(m.startsWith(QStringLiteral("文件的格式版本不对"))) << version << m;
    }
    EXPECT_TRUE(Refusal("{\"format\": \"markwise-class\"}").startsWith(QStringLiteral("文件的格式版本不对")));
    // Another program's JSON, or a grade, is not a class.
    EXPECT_EQ(Refusal("{\"format\": \"markwise-grade\", \"version\": 1}"), QStringLiteral("这不是本程序的班级文件。"));
    EXPECT_EQ(Refusal("[1, 2]"), QStringLiteral("这不是本程序的班级文件。"));
}

TEST(ClassFile, EveryCutShortFileIsRefused) {
    const QByteArray whole = WriteClassFile(FullClass());
    for (qsizetype n = 0; n < whole.size() - 2; ++n) {
        const QString m = Refusal(whole.left(n));
        ASSERT_FALSE(m.isEmpty()) << "cut at " << n << " was taken";
    }
    // The last newline and the closing brace's line end are not content.
    EXPECT_TRUE(Refusal(whole.left(whole.size() - 1)).isEmpty());
}

TEST(ClassFile, WrongTypesAndValuesAreRefusedNamingTheItem) {
    struct Case {
        QByteArray body;
        const char* item;
    };
    const Case cases[] = {
        {"\"rows\": [{\"score\": 95}]", "rows[0].score"},
        {"\"rows\": {\"score\": \"95\"}", "rows"},
        {"\"rows\": [\"95\"]", "rows[0]"},
        {"\"rows\": [{\"score\": \"95\", \"name\": [\"张三\"]}]", "rows[0].name"},
        {"\"info\": \"大学物理\"", "info"},
        {"\"info\": {\"credits\": 3}", "info.credits"},
        {"\"info\": {\"examDate\": \"2026-02-30\"}", "info.examDate"},
        {"\"info\": {\"examDate\": \"18.06.2026\"}", "info.examDate"},
        {"\"info\": {\"beginTime\": \"25:00\"}", "info.beginTime"},
        {"\"info\": {\"examMode\": \"oral\"}", "info.examMode"},
        {"\"conclusion\": null", "conclusion"},
        {"\"fullMarks\": 0", "fullMarks"},
        {"\"fullMarks\": 1001", "fullMarks"},
        {"\"fullMarks\": 99.5", "fullMarks"},
        {"\"fullMarks\": \"100\"", "fullMarks"},
        {"\"fullMarks\": 1e300", "fullMarks"},
        {"\"rows\": [{\"score\": \"\\ud800\"}]", "rows[0].score"},
    };
    for (const Case& c : cases) {
        const QString m = Refusal(QByteArray(kClassFileStart) + "1,\n    " + c.body + "\n}\n");
        EXPECT_TRUE(m.startsWith(QStringLiteral("文件已损坏："))) << c.body << m;
        EXPECT_TRUE(m.contains(QString::fromLatin1(c.item))) << c.body << m;
    }
}

TEST(ClassFile, HostileFilesAreRefusedWithinBounds) {
    // More rows than the grid has.
    QByteArray rows = "[";
    for (int k = 0; k < 300; ++k) rows += QByteArray(k ? ", " : "") + "{\"score\": \"1\"}";
    const QString tooMany = Refusal(WithRows(rows + "]"));
    EXPECT_EQ(tooMany, QStringLiteral("文件中有300行成绩，超过了成绩表的299行。"));
    // A million scores: turned away before any of them is built.
    QByteArray million = "[";
    million.reserve(4 << 20);
    for (int k = 0; k < 1000000; ++k) million += k ? ",\"\"" : "\"\"";
    EXPECT_TRUE(Refusal(WithRows(million + "]")).startsWith(QStringLiteral("文件中的数据项过多")));
    // Deep nesting, which a recursive reader would follow off the stack.
    EXPECT_TRUE(Refusal(QByteArray(200000, '[')).startsWith(QStringLiteral("文件的层次过深")));
    EXPECT_TRUE(Refusal(WithRows(QByteArray(40, '[') + QByteArray(40, ']'))).startsWith(QStringLiteral("文件的层次过深")));
    // Brackets inside texts are no nesting.
    ClassData brackets;
    brackets.conclusion = QString(5000, '[') + "\\\"{";
    EXPECT_EQ(ReadClassFile(WriteClassFile(brackets)).data, brackets);
    // Bytes that are not UTF-8, even inside a text.
    QByteArray latin = WriteClassFile(FullClass());
    latin.replace("王老师", "\xCD\xF5\xC0\xCF\xCA\xA6");  // GBK
    EXPECT_TRUE(Refusal(latin).startsWith(QStringLiteral("文件里有无法识别的文字"))) << Refusal(latin);
    EXPECT_TRUE(Refusal(WithRows("[{\"score\": \"\xED\xA0\x80\"}]")).startsWith(QStringLiteral("文件里有无法识别的文字")));
    // Over the size limit, as bytes.
    EXPECT_TRUE(Refusal(QByteArray(kMaxClassFileBytes + 1, ' ')).startsWith(QStringLiteral("文件太大")));
}

TEST(ClassFile, LoadingLooksAtTheFileBeforeReadingIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A gigabyte, sparse: refused on its size, so nothing of it is read.
    const QString big = dir.filePath("big.mwclass");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(1) << 30));
    }
    try {
        LoadClassFile(big);
        FAIL() << "a 1 GB file was taken";
    } catch (const EClassFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("文件太大（1024 MB），不是本程序保存的班级文件。"));
    }
    // A pipe named like a class file is not waited on; a folder is no file.
    const QString fifo = dir.filePath("pipe.mwclass");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_THROW(LoadClassFile(fifo), EClassFileError);
    EXPECT_THROW(LoadClassFile(dir.path()), EClassFileError);
    try {
        LoadClassFile(dir.filePath("missing.mwclass"));
        FAIL();
    } catch (const EClassFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("文件不存在。"));
    }
    // And a good one, as written.
    const QString good = dir.filePath("good.mwclass");
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(WriteClassFile(FullClass()));
    }
    EXPECT_EQ(LoadClassFile(good).data, FullClass());
}
