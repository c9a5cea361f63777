// The make-document, preview and print commands against a real office,
// including the ways they can fail.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    TWordApplication::Settings().program = QStringLiteral("/nonexistent/soffice");
    const QString first = testoffice::Path("none");
    dialogs.saveAnswers = {first};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kChooseOtherName, reporttext::kFailed}));
    EXPECT_EQ(dialogs.messages.back().caption, QStringLiteral("试卷分析"));
    EXPECT_FALSE(session.SaveSucceeded);
    EXPECT_TRUE(session.WordApp.isNull());
    EXPECT_TRUE(session.WordDoc.isNull());
    EXPECT_EQ(Bytes(first + ".doc"), TemplateBytes());  // left as written, not emptied

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
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kChooseOtherName, reporttext::kFailed}));
    // the dialog offers the last confirmed name again
    EXPECT_EQ(dialogs.saveRequests.back().fileName, first);
    EXPECT_EQ(dialogs.saveRequests.front().fileName, "");
}

TEST_F(MakeReport, UnwritablePlaceIsNeitherFilledNorSaved) {
    // A read-only file system refuses even the super-user.
    dialogs.saveAnswers = {QStringLiteral("/proc/markwise/report")};
    ASSERT_TRUE(session.MakeDocument(nullptr, SampleContent));
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kChooseOtherName, reporttext::kFailed}));
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
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kChooseOtherName, reporttext::kFailed}));
    EXPECT_EQ(Bytes(other), before);
    EXPECT_FALSE(OfficeListening());
}

TEST_F(MakeReport, OfficeKilledWhileFillingThenAGoodRun) {
    const QString path = testoffice::Path("physics.doc");
    {
        QFile old(path);  // a report of an earlier run, chosen again
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier report");
    }
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
    EXPECT_EQ(dialogs.Texts(), (QStringList{reporttext::kChooseOtherName, reporttext::kFailed}));
    EXPECT_EQ(Bytes(path), TemplateBytes());  // not a half-filled or empty document
    EXPECT_TRUE(session.WordApp.isNull());

    dialogs.messages.clear();
    dialogs.saveAnswers = {path};
    bool checkedBeforeFill = false;
    ASSERT_TRUE(session.MakeDocument(nullptr, [&] {
        // the office gets exactly the template to fill
        EXPECT_EQ(Bytes(path), TemplateBytes());
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
    EXPECT_EQ(made.left(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
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
    bool shown = false;
    for (int i = 0; i < 100 && !shown; ++i) {
        QProcess x;
        x.start("xwininfo", {"-root", "-tree"});
        x.waitForFinished(5000);
        shown = x.readAllStandardOutput().contains("preview.doc");
        if (!shown) QThread::msleep(100);
    }
    EXPECT_TRUE(shown) << "no window shows the report";

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
