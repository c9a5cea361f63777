#include "office_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace testoffice {
namespace {
QTemporaryDir& Temp() {
    static QTemporaryDir dir(QDir::tempPath() + "/markwise-report-XXXXXX");
    return dir;
}

class OfficeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // A child that plays a copy of the program keeps the program's own choice.
        if (qEnvironmentVariableIsSet("MARKWISE_OFFICE_DEFAULTS")) return;
        auto& s = TWordApplication::Settings();
        s.pipeName = QStringLiteral("markwise_test_%1").arg(getpid());
        s.userInstallation = Temp().filePath("profile");
        s.startTimeoutMs = 90000;
    }
    void TearDown() override { EndOffice(); }
};

const auto* const env = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

// Our own windows stay off screen, where activation and focus are certain; a
// display, when there is one, is left to the office's preview window.
const bool offscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();
}  // namespace

QString Dir() { return Temp().path(); }

QString Path(const QString& name) { return Temp().filePath(name); }

QString WriteTemplate(const QString& name) {
    const auto data = FindResource("doc", "docTemplate");
    EXPECT_TRUE(data.has_value());
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data.value_or(QByteArray()));
    return f.fileName();
}

void EndOffice() {
    TWordApplication::SetOfficeKept(false);
    try {
        TWordApplication app;
        if (app.Attach()) app.Quit();
    } catch (...) {
    }
}

void KillOffice(qint64 pid) {
    if (pid > 0) kill(-pid_t(pid), SIGKILL);
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList Listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QList<int> OfficesOn(const QString& profile) {
    QList<int> out;
    const QByteArray arg = ("-env:UserInstallation=file://" + profile).toUtf8();
    for (const QString& e : QDir("/proc").entryList(QDir::Dirs)) {
        QFile f("/proc/" + e + "/cmdline");
        if (e.toInt() > 0 && Alive(e.toInt()) && f.open(QIODevice::ReadOnly) && f.readAll().split('\0').contains(arg))
            out << e.toInt();
    }
    return out;
}

bool Alive(int pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    // "pid (name) state ...": a zombie has ended, it only waits to be reaped.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() && line[close + 2] != 'Z';
}

bool WaitGroupGone(qint64 group) {
    if (group <= 0) return true;
    const auto anyLeft = [group] {
        for (const QString& e : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + e + "/stat");
            if (e.toInt() <= 0 || !stat.open(QIODevice::ReadOnly)) continue;
            // "pid (name) state ppid pgrp ...", the name may hold spaces
            const QByteArray line = stat.readAll();
            const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (rest.size() > 2 && rest[0] != "Z" && rest[2].toLongLong() == group) return true;
        }
        return false;
    };
    for (int i = 0; i < 500; ++i) {
        if (!anyLeft()) return true;
        QThread::msleep(20);
    }
    return !anyLeft();
}

bool WaitForWindow(const QString& titlePart, bool shown) {
    for (int i = 0; i < 150; ++i) {
        QProcess x;
        x.start("xwininfo", {"-root", "-tree"});
        x.waitForFinished(5000);
        if (QString::fromUtf8(x.readAllStandardOutput()).contains(titlePart) == shown) return true;
        QThread::msleep(100);
    }
    return false;
}

bool RunInMountNamespace(const QString& setup, const QString& dir, const QString& helper,
                         const QStringList& environment, QString* output, int* exitCode) {
    // The ways this machine may let a process mount what it likes: as root,
    // or as root of a user namespace of its own.
    static const QStringList kWays[] = {{"--mount", "--propagation", "private"},
                                        {"--map-root-user", "--mount", "--propagation", "private"}};
    const auto command = [&](const QStringList& way, const QStringList& then) {
        return way + QStringList{"sh", "-c", "(" + setup + ") || exit 77; shift; exec \"$@\"", "sh", dir} + then;
    };
    const QStringList* usable = nullptr;
    for (const QStringList& way : kWays)
        if (QProcess::execute("unshare", command(way, {"true"})) == 0) {
            usable = &way;
            break;
        }
    if (!usable) return false;
    QProcess inside;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& e : environment) env.insert(e.section('=', 0, 0), e.section('=', 1));
    inside.setProcessEnvironment(env);
    inside.setProcessChannelMode(QProcess::MergedChannels);
    inside.start("unshare", command(*usable, {QCoreApplication::applicationFilePath(), "--gtest_also_run_disabled_tests",
                                              "--gtest_filter=" + helper}));
    const bool finished = inside.waitForFinished(200000);
    *output = QString::fromUtf8(inside.readAll());
    *exitCode = finished && inside.exitStatus() == QProcess::NormalExit ? inside.exitCode() : -1;
    return true;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}
}  // namespace testoffice
