// The real program, killed with kill -9 while the teacher types into it on a
// real X server, and the next start bringing the typed scores back. Run by
// tests/support/with_window_manager.sh (keys go to the focused window, which
// needs a window manager); skipped elsewhere.
#include "app_fixture.h"

#include "class_commands.h"
#include "class_file.h"
#include "framed_grid.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("MARKWISE_WINDOW_MANAGER")) GTEST_SKIP() << "needs X with a window manager";
        ASSERT_TRUE(home.isValid());
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(10000);
        }
    }
    // xdotool, bounded; its output.
    QString Xdo(const QStringList& args) {
        QProcess xdo;
        xdo.start(QStringLiteral("xdotool"), args);
        if (!xdo.waitForFinished(60000)) {
            xdo.kill();
            xdo.waitForFinished();
            ADD_FAILURE() << "xdotool did not finish: " << args.join(' ').toStdString();
            return QString();
        }
        EXPECT_EQ(xdo.exitCode(), 0) << args.join(' ').toStdString() << xdo.readAllStandardError().toStdString();
        return QString::fromUtf8(xdo.readAllStandardOutput()).trimmed();
    }
    QString Recovery() const { return home.filePath("data/markwise/recovery/1.mwclass"); }

    QTemporaryDir home;
    QProcess program;
};

QStringList ScoresIn(const QString& file) {
    try {
        return LoadClassFile(file).data.scores;
    } catch (const EClassFileError&) {
        return {};
    }
}

}  // namespace

TEST_F(RealProgram, KilledWhileTypingThenTheNextStartRestoresEveryScore) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(MARKWISE_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());

    const QString window = Xdo({"search", "--sync", "--onlyvisible", "--pid", QString::number(program.processId()),
                                "--name", "Markwise07.7"})
                               .section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    Xdo({"windowactivate", "--sync", window});
    // Score entry is the first page and its grid the first control: the keys
    // go straight into row 1, Tab moving down as the help text says.
    Xdo({"type", "--window", window, "--delay", "80", "95\t89.5\t72\t60\t59.4\t"});
    Xdo({"key", "--window", window, "--delay", "80", "1", "0", "0"});
    QDeadlineTimer deadline(30000);
    while (ScoresIn(Recovery()).size() < 6 && !deadline.hasExpired()) QTest::qWait(50);
    ASSERT_EQ(ScoresIn(Recovery()), (QStringList{"95", "89.5", "72", "60", "59.4", "100"}));

    // Mid-typing: the last score is still in its editor.
    kill(pid_t(program.processId()), SIGKILL);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(QFileInfo::exists(Recovery()));

    // The next start, with the program's own start-up order.
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgResult::Yes};
    TForm2 help;
    TForm1 next(&help);
    next.show();
    next.CompleteLoading();
    next.KeepWorkSafe(home.filePath("data/markwise/recovery"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kRecoveryQuestion);
    QStringList cells;
    for (int row = 1; row <= 7; ++row) cells << next.strgrdscore->Cells(0, row);
    EXPECT_EQ(cells, (QStringList{"95", "89.5", "72", "60", "59.4", "100", ""}));
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    EXPECT_TRUE(next.close());
    EXPECT_FALSE(QFileInfo::exists(Recovery()));
}
