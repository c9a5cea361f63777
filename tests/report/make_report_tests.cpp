// The make-document, preview and print commands against a real office,
// including the ways they can fail.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"
#include "compound_file.h"
#include "office_process.h"

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

#include <sys/stat.h>
#include <fcntl.h>
#include <sys/file.h>

#include <unistd.h>

namespace {

using testoffice::Bytes;
using testoffice::Listing;

// What the teacher reads first: the line before the technical detail.
QString FirstLine(const QString& message) { return message.section('\n', 0, 0); }

int Mode(const QString& path) {
    struct stat st;
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QByteArray TemplateBytes() { return FindResource("doc", "docTemplate").value_or(QByteArray()); }

constexpr const char* kReadOnlyVariable = "MARKWISE_READ_ONLY_DIR";

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
    // The report made over letter.doc in a folder nobody may write in.
    void MakeInReadOnlyFolder() {
        const QString dir = qEnvironmentVariable(kReadOnlyVariable);
        QFile probe(dir + "/probe");
        ASSERT_FALSE(probe.open(QIODevice::WriteOnly)) << dir.toStdString() << " can be written in";
        const QString other = dir + "/letter.doc";
        const QByteArray before = Bytes(other);
        dialogs.saveAnswers = {other};
        ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
        ExpectCauseFirst(QStringLiteral("无法在“%1”中写入报告").arg(dir));
        EXPECT_EQ(Bytes(other), before);
        EXPECT_EQ(Listing(dir), QStringList{"letter.doc"});
        EXPECT_FALSE(OfficeListening());
    }
    // An office that a library loaded into it makes fail as variable says,
    // when it saves into folder.
    QString OfficeWithFault(const char* variable, const QString& folder) {
        const QString wrapper = testoffice::Path(QStringLiteral("soffice-%1.sh").arg(QString::fromLatin1(variable)));
        testoffice::WriteFile(wrapper, QStringLiteral("#!/bin/sh\nexport LD_PRELOAD=%1\nexport %2=%3\nexec soffice \"$@\"\n")
                                           .arg(MARKWISE_SAVE_FAULTS_LIB, QString::fromLatin1(variable), folder + "/.markwise-")
                                           .toUtf8());
        QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return wrapper;
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
    TWordApplication::Settings().keeperIntervalMs = 50;
    session.PrepareOffice();
    EXPECT_TRUE(session.KeepingOffice());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !session.KeepingOffice(); }, 60000)) << "the keeper never gave up";
    session.EndOffice();
    QFile f(starts);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("started"), 3);
}

// An office that ends by itself a while after each start is started again each time.
TEST_F(MakeReport, TheKeptOfficeIsStartedAgainWhenItEnds) {
    const QString starts = testoffice::Path("slow-starts.txt");
    QFile::remove(starts);
    const QString ending = testoffice::Path("ending.sh");
    testoffice::WriteFile(ending, QStringLiteral("#!/bin/sh\necho started >> '%1'\nexec sleep 2\n").arg(starts).toUtf8());
    QFile::setPermissions(ending, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TWordApplication::Settings().program = ending;
    TWordApplication::Settings().keeperIntervalMs = 50;
    session.PrepareOffice();
    const auto count = [&] {
        QFile f(starts);
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("started")) : 0;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return count() >= 2; }, 60000)) << "the office was not started again";
    EXPECT_TRUE(session.KeepingOffice());
    session.EndOffice();
    EXPECT_FALSE(session.KeepingOffice());
    EXPECT_FALSE(office::Process::Instance().Running());
}

// A read-only file system refuses even the super-user; nothing is filled or saved.
TEST_F(MakeReport, UnwritablePlaceIsNeitherFilledNorSaved) {
    dialogs.saveAnswers = {QStringLiteral("/proc/markwise/report")};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectCauseFirst(QStringLiteral("文件夹“/proc/markwise”不存在，请换一个位置保存。"));
    EXPECT_EQ(session.ReportFileName, "/proc/markwise/report.doc");
    EXPECT_FALSE(OfficeListening());
}

// An unrelated document in a folder mounted read-only stays as it was. The
// mount is made in a namespace of the test's own, so it binds root too.
TEST_F(MakeReport, AReadOnlyFolderKeepsItsDocument) {
    const QString dir = testoffice::Path("readonly");
    QDir().mkpath(dir);
    const QString other = dir + "/letter.doc";
    ASSERT_TRUE(QFile::copy(MARKWISE_TEMPLATE_FILE, other));
    const QByteArray before = Bytes(other);
    QString out;
    int code = -1;
    if (testoffice::RunInMountNamespace("mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\"", dir,
                                        "MakeReport.DISABLED_InAReadOnlyFolder", {QString(kReadOnlyVariable) + "=" + dir},
                                        &out, &code)) {
        EXPECT_EQ(code, 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
    } else if (geteuid() != 0) {
        // Folder permissions bind everyone but root.
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        qputenv(kReadOnlyVariable, QFile::encodeName(dir));
        MakeInReadOnlyFolder();
        qunsetenv(kReadOnlyVariable);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        GTEST_SKIP() << "running as root without a mount namespace of its own, no folder can be made read-only";
    }
    EXPECT_EQ(Bytes(other), before);
    EXPECT_EQ(Listing(dir), QStringList{"letter.doc"});
}

// Runs where kReadOnlyVariable names a folder nobody may write in.
TEST_F(MakeReport, DISABLED_InAReadOnlyFolder) {
    ASSERT_TRUE(qEnvironmentVariableIsSet(kReadOnlyVariable));
    qunsetenv("DISPLAY");  // a headless office: no screen is needed here
    MakeInReadOnlyFolder();
}

TEST_F(MakeReport, OfficeKilledWhileFillingThenAGoodRun) {
    const QString path = EarlierReport("physics");  // a report of an earlier run, chosen again
    dialogs.saveAnswers = {path};
    auto killing = [&] {
        ReportContent c = SampleContent();
        c.copyPicture = [&] {
            ASSERT_FALSE(session.WordApp.isNull());
            const qint64 office = session.WordApp->OfficeProcessId();
            testoffice::KillOffice(office);
            ASSERT_TRUE(testoffice::WaitGroupGone(office)) << "the killed office lives on";
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
    TWordApplication::Settings().program = OfficeWithFault("MARKWISE_DIE_ON_RENAME_INTO", QFileInfo(path).path());
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("办公软件意外退出"));
    EXPECT_EQ(Bytes(path), "an earlier report");
    EXPECT_EQ(Listing(QFileInfo(path).path()), QStringList{"report.doc"});
    EXPECT_FALSE(OfficeListening());
}

// The office's save ends short on a disk with room to spare: the short file
// is not taken for a report, and the teacher is not told the disk is full.
TEST_F(MakeReport, AShortSaveIsNotKept) {
    testoffice::EndOffice();
    const QString path = EarlierReport("cut-saving");
    TWordApplication::Settings().program = OfficeWithFault("MARKWISE_CUT_ON_RENAME_INTO", QFileInfo(path).path());
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("办公软件写出的报告不完整"));
    EXPECT_EQ(FirstLine(dialogs.messages[0].text), QStringLiteral("办公软件写出的报告不完整，没有保存。"));
    EXPECT_EQ(Bytes(path), "an earlier report");
    EXPECT_EQ(Listing(QFileInfo(path).path()), QStringList{"report.doc"});
    testoffice::EndOffice();
}

// A report made again keeps the permissions the teacher gave it; a new one
// gets those of any new file.
TEST_F(MakeReport, TheReportKeepsItsFileMode) {
    const QString path = EarlierReport("mode");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    dialogs.saveAnswers = {path};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ASSERT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(CheckWord97Document(Bytes(path)), "");
    EXPECT_EQ(Mode(path), 0640);

    // The office starts under the usual mask, the program then has another:
    // the program's is the one a new report follows.
    session.PrepareOffice();
    ASSERT_TRUE(QTest::qWaitFor([&] { return OfficeListening(); }, 90000));
    const mode_t mask = umask(002);
    const QString fresh = QFileInfo(path).path() + "/fresh";
    dialogs.messages.clear();
    dialogs.saveAnswers = {fresh};
    const bool ran = session.MakeDocument(nullptr, SampleContent);
    umask(mask);
    session.EndOffice();
    ASSERT_TRUE(ran);
    ASSERT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(Mode(fresh + ".doc"), 0664);
}

// The name chosen is a link to a report elsewhere: that report is replaced
// and the link still points at it.
TEST_F(MakeReport, ALinkedNameReplacesTheReportItNames) {
    const QString real = EarlierReport("linked-real");
    const QString dir = testoffice::Path("linked");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString link = dir + "/report.doc";
    ASSERT_TRUE(QFile::link("../linked-real/report.doc", link));
    dialogs.saveAnswers = {link};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ASSERT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_EQ(session.ReportFileName, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_EQ(CheckWord97Document(Bytes(real)), "");
    EXPECT_EQ(Listing(dir), QStringList{"report.doc"});
    EXPECT_EQ(Listing(QFileInfo(real).path()), QStringList{"report.doc"});
}

// The last step, the rename over the chosen name, fails (a folder stands
// there): the teacher reads where it could not be written, nothing is left.
TEST_F(MakeReport, AFailedRenameLeavesTheFolderAsItWas) {
    const QString dir = testoffice::Path("rename");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir + "/report.doc");
    testoffice::WriteFile(dir + "/report.doc/kept.txt", "kept");
    dialogs.saveAnswers = {dir + "/report"};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    ExpectSaveFailure(QStringLiteral("无法在"));
    EXPECT_EQ(FirstLine(dialogs.messages[0].text), QStringLiteral("无法在“%1”中写入报告，请换一个位置保存。").arg(dir));
    EXPECT_TRUE(QFileInfo(dir + "/report.doc").isDir());
    EXPECT_EQ(Listing(dir), QStringList{"report.doc"});
    EXPECT_EQ(Listing(dir + "/report.doc"), QStringList{"kept.txt"});
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
