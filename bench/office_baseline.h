#pragma once
// The office's own load and save of the template (soffice --headless
// --convert-to doc), the baseline of every path that makes a report, and
// the wait for the program's own office to answer.
#include "application.h"
#include "report.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace officebaseline {

// One convert-to as a separate process, with its profile under dir; the
// milliseconds it took, or -1 when it failed. Run it once untimed first,
// which makes the profile.
inline double ConvertOnce(const QString& dir) {
    const QString in = dir + "/template.doc";
    if (!QFile::exists(in)) {
        QFile f(in);
        f.open(QIODevice::WriteOnly);
        f.write(FindResource("doc", "docTemplate").value_or(QByteArray()));
    }
    const QString out = dir + "/converted";
    QDir().mkpath(out);
    QFile::remove(out + "/template.doc");
    const QStringList args{"--headless", "--norestore", "--nolockcheck",
                           "-env:UserInstallation=file://" + dir + "/convert-profile",
                           "--convert-to", "doc:MS Word 97", "--outdir", out, in};
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("soffice"), args);
    p.waitForFinished(120000);
    const double ms = t.nsecsElapsed() / 1e6;
    return p.exitCode() == 0 && QFile::exists(out + "/template.doc") ? ms : -1;
}

// Waits, bounded, until the office answers: the teacher's time over the description.
inline bool OfficeUp() {
    for (int i = 0; i < 600; ++i) {
        TWordApplication probe;
        if (probe.Attach()) return true;
        QThread::msleep(100);
    }
    return false;
}

// The same with the event loop turning, as it turns in the program while the
// teacher types: the session's keeper starts the office again when its first
// start (a new profile) ends by itself.
inline bool OfficeUpTurningEvents() {
    for (int i = 0; i < 1200; ++i) {
        TWordApplication probe;
        if (probe.Attach()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
    }
    return false;
}

// The program's own office for a bench: a pipe of this process's and a
// profile under dir, with the program's title on its messages.
inline void UseOwnOffice(const char* name, const QString& dir) {
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    auto& s = TWordApplication::Settings();
    s.pipeName = QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(QCoreApplication::applicationPid());
    s.userInstallation = dir + "/make-profile";
}

}  // namespace officebaseline
