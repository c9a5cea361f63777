// The make-document, preview and print commands against a real office,
// including the ways they can fail.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"
#include "compound_file.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <unistd.h>

namespace {

using testoffice::Bytes;
using testoffice::Listing;

QByteArray TemplateBytes() { return FindResource("doc", "docTemplate").value_or(QByteArray()); }

const QString kGrid[3][8] = {
    {},
    {"", "3", "5", "8", "2", "1", "19", "78.26"},
    {"", "15.79%", "26.32%", "42.11%", "10.53%", "5.25%", "", ""},
};

ReportContent SampleContent() {
    ReportContent c;
    c.fields.courseName = QStringLiteral(" 大学物理 ");
    c.fields.teacher = QStringLiteral("李明");
    c.fields.courseNumber = QStringLiteral("PH101");
    c.fields.credits = QStringLiteral("3");
    c.fields.hours = QStringLiteral("48");
    c.fields.className = QStringLiteral("物理0601");
    c.fields.openBook = true;
    c.fields.examDate = QDate(2006, 2, 18);
    c.fields.beginTime = QTime(8, 5);
    c.fields.endTime = QTime(9, 30);
    c.grid = [](int col, int row) { return kGrid[col][row]; };
    c.copyPicture = [] {
        QImage img(393, 313, QImage::Format_RGB32);
        img.fill(Qt::white);
        QGuiApplication::clipboard()->setImage(img);
    };
    c.conclusion = QStringLiteral("力学部分掌握较好。\r\n电磁学错误率较高。");
    return c;
}

struct Fixture : ::testing::Test {
    ScriptedDialogs dialogs;
    TReportSession session;
    OfficeSettings saved = TWordApplication::Settings();
    void SetUp() override { Application().SetTitle(QStringLiteral("试卷分析")); }
    void TearDown() override { TWordApplication::Settings() = saved; }
    bool OfficeListening() {
        TWordApplication probe;
        const bool on = probe.Attach();
        probe.Disconnect();
        return on;
    }
    // A folder of its own with an earlier report in it.
    QString EarlierReport(const QString& folder, const QByteArray& bytes = "an earlier report") {
        const QString dir = testoffice::Path(folder);
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        testoffice::WriteFile(dir + "/report.doc", bytes);
        return dir + "/report.doc";
    }
    // The outcome of a run that failed in the save step: the standard error
    // report in the teacher's words, then the failure.
    void ExpectSaveFailure(const QString& words) {
        ASSERT_EQ(dialogs.messages.size(), 2u) << dialogs.Texts().join(" | ").toStdString();
        EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
        EXPECT_TRUE(dialogs.messages[0].text.contains(words)) << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(dialogs.messages[1].text, reporttext::kFailed);
        EXPECT_FALSE(session.SaveSucceeded);
    }
    // The real cause in words first, then the two texts every failed run shows.
    void ExpectCauseFirst(const QString& words) {
        ASSERT_EQ(dialogs.messages.size(), 3u) << dialogs.Texts().join(" | ").toStdString();
        EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
        EXPECT_TRUE(dialogs.messages[0].text.startsWith(words)) << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(dialogs.messages[1].text, reporttext::kChooseOtherName);
        EXPECT_EQ(dialogs.messages[2].text, reporttext::kFailed);
        EXPECT_FALSE(session.SaveSucceeded);
    }
};

using MakeReport = Fixture;

TEST_F(MakeReport, CancelChangesNothing) {
    dialogs.saveAnswers = {std::nullopt};
    EXPECT_FALSE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(session.ReportFileName.isEmpty());
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    const auto& r = dialogs.saveRequests[0];
    EXPECT_EQ(r.filter, "Word文档(*.doc)|*.doc");
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(r.hideReadOnly);
    EXPECT_TRUE(r.resizable);
    EXPECT_TRUE(r.defaultExt.isEmpty());
}

TEST_F(MakeReport, NoOfficeFailsWithinBoundedTime) {
    testoffice::EndOffice();
    TWordApplication::Settings().program = QStringLiteral("/nonexistent/soffice");
    const QString earlier = EarlierReport("none");
    const QString first = earlier.chopped(4);
    dialogs.saveAnswers = {first};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectCauseFirst(QStringLiteral("无法启动办公软件 LibreOffice，请确认它已经安装。"));
    EXPECT_EQ(dialogs.messages.back().caption, QStringLiteral("试卷分析"));
    EXPECT_FALSE(session.SaveSucceeded);
    EXPECT_TRUE(session.WordApp.isNull());
    EXPECT_TRUE(session.WordDoc.isNull());
    EXPECT_EQ(Bytes(earlier), "an earlier report");  // not the blank template
    EXPECT_EQ(Listing(testoffice::Path("none")), QStringList{"report.doc"});

    // An office that starts but never answers is given up on.
    const QString silent = testoffice::Path("silent.sh");
    {
        QFile f(silent);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexec sleep 600\n");
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    TWordApplication::Settings().program = silent;
    TWordApplication::Settings().startTimeoutMs = 1500;
    dialogs.messages.clear();
    dialogs.saveAnswers = {testoffice::Path("silent")};
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_LT(clock.elapsed(), 10000);
    ExpectCauseFirst(QStringLiteral("无法启动办公软件"));
    EXPECT_TRUE(dialogs.messages[0].text.contains("did not answer")) << dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(testoffice::Path("silent.doc")));
    // the dialog offers the last confirmed name again
    EXPECT_EQ(dialogs.saveRequests.back().fileName, first);
    EXPECT_EQ(dialogs.saveRequests.front().fileName, "");
}

// An office that cannot stay up is not started again for the rest of the day.
TEST_F(MakeReport, TheKeptOfficeIsNotRestartedWithoutEnd) {
    const QString starts = testoffice::Path("starts.txt");
    QFile::remove(starts);
    const QString failing = testoffice::Path("failing.sh");
    testoffice::WriteFile(failing, QStringLiteral("#!/bin/sh\necho started >> '%1'\nexit 1\n").arg(starts).toUtf8());
    QFile::setPermissions(failing, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TWordApplication::Settings().program = failing;
    session.PrepareOffice();
    QTest::qWait(11000);
    session.EndOffice();
    QFile f(starts);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("started"), 3);
}

TEST_F(MakeReport, UnwritablePlaceIsNeitherFilledNorSaved) {
    // A read-only file system refuses even the super-user.
    dialogs.saveAnswers = {QStringLiteral("/proc/markwise/report")};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectCauseFirst(QStringLiteral("文件夹“/proc/markwise”不存在，请换一个位置保存。"));
    EXPECT_EQ(session.ReportFileName, "/proc/markwise/report.doc");
    EXPECT_FALSE(OfficeListening());

    if (geteuid() == 0) return;  // folder permissions do not bind root
    // An unrelated document standing in a read-only folder stays as it was.
    const QString dir = testoffice::Path("readonly");
    QDir().mkpath(dir);
    const QString other = dir + "/letter.doc";
    QFile::copy(MARKWISE_TEMPLATE_FILE, other);
    const QByteArray before = Bytes(other);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    dialogs.messages.clear();
    dialogs.saveAnswers = {other};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ExpectCauseFirst(QStringLiteral("无法在“%1”中写入报告").arg(dir));
    EXPECT_EQ(Bytes(other), before);
    EXPECT_FALSE(OfficeListening());
}

TEST_F(MakeReport, OfficeKilledWhileFillingThenAGoodRun) {
    const QString path = EarlierReport("physics");  // a report of an earlier run, chosen again
    dialogs.saveAnswers = {path};
    auto killing = [&] {
        ReportContent c = SampleContent();
        c.copyPicture = [&] {
            ASSERT_FALSE(session.WordApp.isNull());
            testoffice::KillOffice(session.WordApp->OfficeProcessId());
            usleep(300 * 1000);
        };
        return c;
    };
    ASSERT_TRUE(session.MakeDocument(nullptr, killing));
    ExpectCauseFirst(QStringLiteral("办公软件"));
    EXPECT_EQ(Bytes(path), "an earlier report");  // not a blank, half-filled or empty document
    EXPECT_EQ(Listing(QFileInfo(path).path()), QStringList{"report.doc"});
    EXPECT_TRUE(session.WordApp.isNull());

    dialogs.messages.clear();
    dialogs.saveAnswers = {path};
    bool checkedBeforeFill = false;
    ASSERT_TRUE(session.MakeDocument(nullptr, [&] {
        // the office gets exactly the template to fill, beside the report
        const QStringList here = Listing(QFileInfo(path).path());
        EXPECT_EQ(here.size(), 2);
        for (const QString& entry : here) {
            if (entry == "report.doc") continue;
            const QString draft = QFileInfo(path).path() + "/" + entry + "/report.doc";
            EXPECT_EQ(Bytes(draft), TemplateBytes()) << entry.toStdString();
        }
        EXPECT_EQ(Bytes(path), "an earlier report");
        checkedBeforeFill = true;
        return SampleContent();
    }));
    EXPECT_TRUE(checkedBeforeFill);
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kSaved}));
    EXPECT_TRUE(session.SaveSucceeded);
    EXPECT_EQ(session.ReportFileName, path);
    EXPECT_TRUE(session.WordApp.isNull());
    EXPECT_FALSE(OfficeListening());  // the office was quit

    // filled and saved as a Word 97-2003 file (the cells are read back in the teacher's test)
    const QByteArray made = Bytes(path);
    EXPECT_NE(made, TemplateBytes());
    EXPECT_EQ(CheckWord97Document(made), "");
    EXPECT_EQ(Listing(QFileInfo(path).path()), QStringList{"report.doc"});
}

// The office dies while it moves the saved document into place: a library
// loaded into it ends its process group right there.
TEST_F(MakeReport, OfficeKilledWhileSavingLeavesTheReportAsItWas) {
    testoffice::EndOffice();
    const QString path = EarlierReport("killed-saving");
    const QString wrapper = testoffice::Path("soffice-dies-saving.sh");
    testoffice::WriteFile(wrapper, QStringLiteral("#!/bin/sh\nexport LD_PRELOAD=%1\nexport MARKWISE_DIE_ON_RENAME_INTO=%2\n"
                                                  "exec soffice \"$@\"\n")
                                       .arg(MARKWISE_DIE_ON_SAVE_LIB, QFileInfo(path).path() + "/.markwise-")
                                       .toUtf8());
    QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TWordApplication::Settings().program = wrapper;
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("办公软件意外退出"));
    EXPECT_EQ(Bytes(path), "an earlier report");
    EXPECT_EQ(Listing(QFileInfo(path).path()), QStringList{"report.doc"});
    EXPECT_FALSE(OfficeListening());
}

// Another office has the report open (its lock file stands beside it).
TEST_F(MakeReport, AReportOpenInAnotherOfficeIsLeftAlone) {
    const QString path = EarlierReport("locked");
    const QString lock = QFileInfo(path).path() + "/.~lock.report.doc#";
    testoffice::WriteFile(lock, "王老师,teachers-pc,file:///home/wang/.config/libreoffice/4;09.12.2025 10:00,");
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("正在别的办公软件中打开"));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("王老师")));
    EXPECT_EQ(Bytes(path), "an earlier report");
    EXPECT_EQ(Listing(QFileInfo(path).path()), (QStringList{".~lock.report.doc#", "report.doc"}));
    EXPECT_EQ(session.ReportFileName, path);

    // An office that has no name for its person gives the account, never "(,root)".
    testoffice::WriteFile(lock, ",root,teachers-pc,09.12.2025 10:00,file:///root/.config/libreoffice/4;");
    dialogs.messages.clear();
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("正在别的办公软件中打开"));
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral("# (root)."))) << dialogs.messages[0].text.toStdString();
    // And with neither, nobody.
    testoffice::WriteFile(lock, ",,,");
    dialogs.messages.clear();
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral(".~lock.report.doc#."))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Bytes(path), "an earlier report");
}

// A copy killed in the middle of a make left its draft folder behind: the
// next make there removes it, and leaves a live copy's draft alone.
TEST_F(MakeReport, DraftsOfAKilledCopyAreRemovedByTheNextMake) {
    const QString path = EarlierReport("drafts");
    const QString folder = QFileInfo(path).path();
    // What a killed copy leaves: the template and the office's lock file,
    // beside the copy's own lock, which nobody holds any more.
    const QString dead = folder + "/.markwise-Dead01";
    QDir().mkpath(dead);
    testoffice::WriteFile(dead + "/report.doc", TemplateBytes());
    testoffice::WriteFile(dead + "/.~lock.report.doc#", ",root,pc,now,;");
    testoffice::WriteFile(dead + "/owner.lock", "");
    // A draft another copy is working on: its lock is held.
    const QString live = folder + "/.markwise-Live01";
    QDir().mkpath(live);
    testoffice::WriteFile(live + "/owner.lock", "");
    const int held = open(QFile::encodeName(live + "/owner.lock").constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    // A folder of the teacher's own that only looks alike.
    QDir().mkpath(folder + "/.markwise-notes");

    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(Listing(folder), (QStringList{".markwise-Live01", ".markwise-notes", "report.doc"}));
    close(held);
}

// Names up to the file system's limit work; a longer one is refused in words.
TEST_F(MakeReport, NamesUpToTheFileSystemLimit) {
    const QString dir = testoffice::Path("long");
    QDir().mkpath(dir);
    const QString longest = dir + "/" + QString(251, QChar('a'));  // 255 bytes with ".doc"
    dialogs.saveAnswers = {longest};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(CheckWord97Document(Bytes(longest + ".doc")), "");

    dialogs.messages.clear();
    dialogs.saveAnswers = {dir + "/" + QString(84, QChar(0x62a5))};  // 252 bytes of UTF-8, 256 with ".doc"
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("文件名太长"));
    EXPECT_EQ(Listing(dir), QStringList{QString(251, QChar('a')) + ".doc"});
}

// A service, a container or env -i: no locale at all, and a Chinese name.
TEST_F(MakeReport, AChineseNameWorksWithoutAnyLocale) {
    testoffice::EndOffice();
    const char* names[] = {"LANG", "LC_ALL", "LC_CTYPE", "LANGUAGE"};
    std::vector<std::pair<const char*, std::optional<QByteArray>>> kept;
    for (const char* n : names) {
        kept.emplace_back(n, qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt);
        qunsetenv(n);
    }
    const QString name = testoffice::Path("高等数学期末试卷分析");
    dialogs.saveAnswers = {name};
    const bool ran = session.MakeDocument(nullptr, SampleContent);
    for (const auto& [n, v] : kept)
        if (v) qputenv(n, *v);
    testoffice::EndOffice();  // the next test's office gets the usual environment again
    ASSERT_TRUE(ran);
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(CheckWord97Document(Bytes(name + ".doc")), "");
}

using PreviewPrint = Fixture;

TEST_F(PreviewPrint, PreviewOpensReadOnlyInAVisibleOfficeAndLetsGo) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "a visible office needs a display";
    session.ReportFileName = testoffice::Path("missing.doc");
    EXPECT_THROW(session.Preview(), EWordError);
    EXPECT_TRUE(session.WordApp.isNull());

    // A print first leaves its (main-window-owned) application behind; the
    // preview must still come up in a window.
    session.ReportFileName = testoffice::WriteTemplate("preview.doc");
    QObject owner;
    session.Print(&owner, testoffice::Path("first.ps"));
    session.Preview();
    EXPECT_TRUE(session.WordApp.isNull());
    EXPECT_TRUE(testoffice::WaitForWindow("preview.doc")) << "no window shows the report";

    TWordApplication app;
    ASSERT_TRUE(app.Attach());  // the office stayed up, showing the report
    ASSERT_GE(app.Documents().Count(), 1);
    bool found = false;
    for (int i = 1; i <= app.Documents().Count(); ++i) {
        WordDocument d = app.Documents().Item(i);
        if (d.FullName() != session.ReportFileName) continue;
        found = true;
        EXPECT_TRUE(d.ReadOnly());
        EXPECT_FALSE(d.Hidden());
    }
    EXPECT_TRUE(found);
    app.Quit();
}

TEST_F(PreviewPrint, PrintsACopyAndLeavesNoOfficeBehind) {
    session.ReportFileName = testoffice::WriteTemplate("toprint.doc");
    const QByteArray before = Bytes(session.ReportFileName);
    QObject owner;
    const QString out = testoffice::Path("printed.ps");
    session.Print(&owner, out);
    EXPECT_GT(QFileInfo(out).size(), 1000);
    EXPECT_EQ(Bytes(session.ReportFileName), before);
    EXPECT_FALSE(OfficeListening());

    session.ReportFileName = testoffice::Path("gone.doc");
    EXPECT_THROW(session.Print(&owner, out), EWordError);
    EXPECT_FALSE(OfficeListening());
}

}  // namespace
