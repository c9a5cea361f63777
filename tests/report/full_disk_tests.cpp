// A report made on a disk that fills up. The test runs again inside a mount
// namespace of its own, on a small tmpfs mounted there, so that the disk
// really is full for the office as well as for the program.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"
#include "compound_file.h"
#if __has_include("main_window.h")
#include "framed_grid.h"
#include "main_window.h"
#include "memo.h"
#include "skin_menu.h"
#define MARKWISE_WITH_WINDOW 1
#endif

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <sys/statvfs.h>

namespace {

constexpr const char* kMountVariable = "MARKWISE_FULL_DISK_DIR";

ReportContent Content() {
    ReportContent c;
    c.fields.courseName = QStringLiteral("大学物理");
    c.fields.examDate = QDate(2006, 2, 18);
    c.grid = [](int col, int row) { return col == 1 && row <= 6 ? QStringLiteral("1") : QString(); };
    c.copyPicture = [] {
        QImage img(393, 313, QImage::Format_RGB32);
        img.fill(Qt::white);
        QGuiApplication::clipboard()->setImage(img);
    };
    c.conclusion = QStringLiteral("电磁学错误率较高。");
    return c;
}

qint64 FreeBytes(const QString& dir) {
    struct statvfs fs;
    return statvfs(QFile::encodeName(dir).constData(), &fs) == 0 ? qint64(fs.f_bavail) * qint64(fs.f_frsize) : -1;
}

// Fills the disk until only `left` bytes remain.
void LeaveFree(const QString& dir, qint64 left) {
    QFile filler(dir + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Truncate));
    filler.close();
    const qint64 extra = FreeBytes(dir) - left;
    ASSERT_GT(extra, 0);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    ASSERT_EQ(filler.write(QByteArray(int(extra), 'x')), extra);
    filler.close();
}

// Runs the test named inner again inside a mount namespace of its own, on the small disk.
void RunOnASmallDisk(const QString& name, const QString& inner) {
    const QString dir = testoffice::Path(name);
    QDir().mkpath(dir);
    QString out;
    int code = -1;
    if (!testoffice::RunInMountNamespace("mount -t tmpfs -o size=256k markwise \"$1\"", dir, "FullDisk.DISABLED_" + inner,
                                         {QString(kMountVariable) + "=" + dir}, &out, &code))
        GTEST_SKIP() << "this machine lets no test mount a tmpfs of its own";
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

}  // namespace

TEST(FullDisk, TheEarlierReportSurvivesAndTheTeacherIsToldItFailed) { RunOnASmallDisk("full-disk", "OnASmallDisk"); }

#ifdef MARKWISE_WITH_WINDOW
TEST(FullDisk, AClassFileSavedOnAFullDiskStaysAsItWas) { RunOnASmallDisk("full-disk-class", "ClassFileOnASmallDisk"); }
#endif

// Runs inside the namespace, where kMountVariable names the small disk.
TEST(FullDisk, DISABLED_OnASmallDisk) {
    const QString dir = qEnvironmentVariable(kMountVariable);
    ASSERT_FALSE(dir.isEmpty());
    ASSERT_LT(FreeBytes(dir), 300 * 1024) << "not on the small disk";
    // No screen is needed here: an office started headless depends on no X
    // server, which another test's may have kept busy.
    qunsetenv("DISPLAY");
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    ScriptedDialogs dialogs;
    TReportSession session;
    const QString report = dir + "/report.doc";

    dialogs.saveAnswers = {report};
    ASSERT_TRUE(session.MakeDocument(nullptr, Content));
    ASSERT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    const QByteArray earlier = testoffice::Bytes(report);
    ASSERT_EQ(CheckWord97Document(earlier), "");

    // Room for the template, not for the filled report: the office's own
    // save runs out of space.
    const qint64 templateSize = FindResource("doc", "docTemplate")->size();
    LeaveFree(dir, (templateSize + 4095) / 4096 * 4096 + 8192);
    dialogs.messages.clear();
    dialogs.saveAnswers = {report};
    ASSERT_TRUE(session.MakeDocument(nullptr, Content));
    ASSERT_EQ(dialogs.messages.size(), 2u) << dialogs.Texts().join(" | ").toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("磁盘已满"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, reporttext::kFailed);
    EXPECT_EQ(testoffice::Bytes(report), earlier);
    EXPECT_EQ(testoffice::Listing(dir), (QStringList{"filler", "report.doc"}));

    // No room even for the template.
    LeaveFree(dir, 8192);
    dialogs.messages.clear();
    dialogs.saveAnswers = {report};
    ASSERT_TRUE(session.MakeDocument(nullptr, Content));
    ASSERT_EQ(dialogs.messages.size(), 3u) << dialogs.Texts().join(" | ").toStdString();
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("磁盘已满"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, reporttext::kChooseOtherName);
    EXPECT_EQ(dialogs.messages[2].text, reporttext::kFailed);
    EXPECT_EQ(testoffice::Bytes(report), earlier);
    EXPECT_EQ(testoffice::Listing(dir), (QStringList{"filler", "report.doc"}));
    for (const ShownMessage& m : dialogs.messages) EXPECT_NE(m.text, reporttext::kSaved);
}

#ifdef MARKWISE_WITH_WINDOW
// Runs inside the namespace: a class file saved, the disk filled, and a
// larger class saved over it.
TEST(FullDisk, DISABLED_ClassFileOnASmallDisk) {
    const QString dir = qEnvironmentVariable(kMountVariable);
    ASSERT_FALSE(dir.isEmpty());
    ASSERT_LT(FreeBytes(dir), 300 * 1024) << "not on the small disk";
    TWordApplication::Settings().program = QStringLiteral("/nonexistent/soffice");
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir + "/config"));
    ScriptedDialogs dialogs;
    TForm2 help;
    TForm1 form(&help);
    form.show();
    form.CompleteLoading();
    form.strgrdscore->SetCells(0, 1, "95");
    dialogs.saveAnswers = {dir + "/class"};
    form.MbSaveAs->Click();
    const QString file = dir + "/class.mwclass";
    const QByteArray earlier = testoffice::Bytes(file);
    ASSERT_TRUE(earlier.contains("\"95\""));
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join(" | ").toStdString();

    LeaveFree(dir, 8192);
    form.mmadvice->SetText(QString(20000, QChar(0x8bd5)));  // 60 kB of conclusion
    dialogs.messages.clear();
    form.MbSave->Click();
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.Texts().join(" | ").toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("班级文件“class.mwclass”没有保存。原有的文件保持原样。\r磁盘已满")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(testoffice::Bytes(file), earlier);
    EXPECT_EQ(testoffice::Listing(dir), (QStringList{"class.mwclass", "config", "filler"}));
    EXPECT_TRUE(form.Document.Modified(form.CurrentClass()));
}
#endif
