#include "office_env.h"

#include <QDir>
#include <QFile>
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
    try {
        TWordApplication app;
        if (app.Attach()) app.Quit();
    } catch (...) {
    }
}

void KillOffice(qint64 pid) {
    if (pid > 0) kill(-pid_t(pid), SIGKILL);
}
}  // namespace testoffice
