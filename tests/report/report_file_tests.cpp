// What decides whether a saved report may replace the old one, and the
// environment the office starts in; no office needed.
#include "compound_file.h"
#include "office_env.h"
#include "office_process.h"
#include "report.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

QByteArray Template() { return FindResource("doc", "docTemplate").value_or(QByteArray()); }

void Put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

TEST(Word97Check, TheTemplateIsWhole) { EXPECT_EQ(CheckWord97Document(Template()), ""); }

// A disk that runs full cuts the file short wherever the office was.
TEST(Word97Check, EveryShortenedCopyIsRefused) {
    const QByteArray whole = Template();
    ASSERT_GT(whole.size(), 4096);
    for (qsizetype len = 0; len < whole.size(); len += 512)
        EXPECT_NE(CheckWord97Document(whole.left(len)), "") << "cut at " << len;
}

TEST(Word97Check, DamageInTheTablesOrTheStreamsIsRefused) {
    const QByteArray whole = Template();
    QByteArray noSignature = whole;
    noSignature[0] = 'x';
    EXPECT_NE(CheckWord97Document(noSignature), "");

    QByteArray fatOutside = whole;
    Put32(fatOutside, 76, 0x7FFFFFFF);  // the first sector-table sector
    EXPECT_NE(CheckWord97Document(fatOutside), "");

    QByteArray directoryOutside = whole;
    Put32(directoryOutside, 48, 100000);
    EXPECT_NE(CheckWord97Document(directoryOutside), "");

    QByteArray tooManyTables = whole;
    Put32(tooManyTables, 44, 0xFFFFFFFF);
    EXPECT_NE(CheckWord97Document(tooManyTables), "");

    // Zeros where the office never wrote: no Word information block.
    const qsizetype word = whole.indexOf(QByteArray::fromHex("eca5"));
    ASSERT_GT(word, 0);
    QByteArray noFib = whole;
    noFib[word] = 0;
    EXPECT_EQ(CheckWord97Document(noFib), "the WordDocument stream has no Word information block");

    // A WordDocument stream that says it is empty has no block to read.
    const QByteArray wordName = QByteArray("W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0", 24);
    const qsizetype entry = whole.indexOf(wordName);
    ASSERT_GT(entry, 0);
    QByteArray emptyWord = whole;
    Put32(emptyWord, int(entry + 120), 0);
    EXPECT_NE(CheckWord97Document(emptyWord), "");

    EXPECT_NE(CheckWord97Document(QByteArray(70 << 20, '\0')), "");
}

// A sector table whose chain points back at itself ends the walk.
TEST(Word97Check, ALoopingChainIsRefused) {
    QByteArray looped = Template();
    const quint32 firstFat = quint32(quint8(looped[76])) | quint32(quint8(looped[77])) << 8;
    const quint32 dirStart = quint32(quint8(looped[48])) | quint32(quint8(looped[49])) << 8;
    Put32(looped, int((firstFat + 1) * 512 + dirStart * 4), dirStart);
    EXPECT_NE(CheckWord97Document(looped), "");
}

std::vector<std::string> Env(std::initializer_list<const char*> e) { return {e.begin(), e.end()}; }

TEST(OfficeLocale, KeepsAUtf8LocaleAndOtherwiseMakesTheCharacterTypeUtf8) {
    using office::WithUtf8Locale;
    EXPECT_EQ(WithUtf8Locale(Env({"LANG=zh_CN.UTF-8", "HOME=/h"})), Env({"LANG=zh_CN.UTF-8", "HOME=/h"}));
    EXPECT_EQ(WithUtf8Locale(Env({"LC_ALL=de_DE.utf8"})), Env({"LC_ALL=de_DE.utf8"}));
    // nothing at all, as in a service or under env -i
    EXPECT_EQ(WithUtf8Locale(Env({"HOME=/h"})), Env({"HOME=/h", "LC_CTYPE=C.UTF-8"}));
    EXPECT_EQ(WithUtf8Locale(Env({"LANG=C"})), Env({"LANG=C", "LC_CTYPE=C.UTF-8"}));
    // LC_ALL would override the character type: its language goes on as LANG
    const auto all = WithUtf8Locale(Env({"LC_ALL=POSIX", "LANG=zh_CN.UTF-8"}));
    EXPECT_EQ(all, Env({"LANG=POSIX", "LC_CTYPE=C.UTF-8"}));
    // a GBK Chinese locale keeps its language; the character type becomes UTF-8
    const auto gbk = WithUtf8Locale(Env({"LANG=zh_CN.GBK"}));
    ASSERT_EQ(gbk.size(), 2u);
    EXPECT_EQ(gbk[0], "LANG=zh_CN.GBK");
    EXPECT_TRUE(gbk[1] == "LC_CTYPE=zh_CN.UTF-8" || gbk[1] == "LC_CTYPE=C.UTF-8") << gbk[1];
}

}  // namespace

// Run by the test below in a process of its own: starts an "office" and
// then dies the way a crash does, without ending anything.
TEST(OfficeProcess, DISABLED_HelperStartsAnOfficeAndDies) {
    if (qEnvironmentVariableIsEmpty("MARKWISE_OFFICE_HELPER")) GTEST_SKIP() << "run by OfficeEndsWhenTheProgramDies";
    office::Process::Instance().Start(QStringLiteral("/bin/sleep"), {QStringLiteral("120")});
    std::printf("office %d\n", int(office::Process::Instance().Pid()));
    std::fflush(stdout);
    std::raise(SIGKILL);
}

// A program that is killed or crashes leaves no office running behind it.
TEST(OfficeProcess, OfficeEndsWhenTheProgramDies) {
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MARKWISE_OFFICE_HELPER"), QStringLiteral("1"));
    helper.setProcessEnvironment(env);
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_also_run_disabled_tests"),
                  QStringLiteral("--gtest_filter=OfficeProcess.DISABLED_HelperStartsAnOfficeAndDies")});
    ASSERT_TRUE(helper.waitForFinished(30000));
    const QByteArray out = helper.readAllStandardOutput();
    const qsizetype at = out.indexOf("office ");
    ASSERT_GE(at, 0) << out.toStdString();
    const pid_t office = pid_t(out.mid(at + 7).split('\n').front().toInt());
    ASSERT_GT(office, 0);
    QElapsedTimer clock;
    clock.start();
    while (testoffice::Alive(office) && clock.elapsed() < 5000) QThread::msleep(20);
    EXPECT_FALSE(testoffice::Alive(office));
    if (testoffice::Alive(office)) ::kill(office, SIGKILL);
}
