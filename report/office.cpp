#include "office.h"
#include "office_libraries.h"

#include "office_process.h"
#include "office_profile.h"
#include "report_errors.h"
#include "word.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <mutex>

using namespace com::sun::star;

namespace office {

namespace {
constexpr int kRestartExitCode = 81;
}

QString Q(const rtl::OUString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}

rtl::OUString U(const QString& s) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), s.size());
}

rtl::OUString FileUrl(const QString& path) {
    rtl::OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(U(QDir::cleanPath(QFileInfo(path).absoluteFilePath())), url)
        != osl::FileBase::E_None)
        throw reporterror::NotWritable(QFileInfo(path).absolutePath(), QStringLiteral("invalid file name %1").arg(path));
    return url;
}

namespace {

// The process-wide UNO context that carries the bridge machinery.
Reference<uno::XComponentContext> LocalContext() {
    // The libraries first: what they keep is then let go of after the
    // context at exit, as when they were loaded with the program.
    LoadLibraries();
    static std::mutex m;
    static Reference<uno::XComponentContext> ctx;
    std::lock_guard<std::mutex> lock(m);
    if (!ctx.is()) {
        const QString dir = QStringLiteral(MARKWISE_LO_PROGRAM_DIR);
        qputenv("URE_BOOTSTRAP", ("vnd.sun.star.pathname:" + dir + "/fundamentalrc").toUtf8());
        try {
            ctx = cppu::defaultBootstrap_InitialComponentContext(FileUrl(dir + "/unorc"));
        } catch (const uno::Exception& e) {
            throw reporterror::OfficeNotStarted("cannot initialise UNO: " + Q(e.Message));
        }
    }
    return ctx;
}

// The office binary itself where the program named is its start script: the
// script hands over to a launcher that starts the office as its own child,
// and a launcher outlives a killed program. The binary is started to end
// with the program.
QString ResolveProgram(const QString& program) {
    const QString found = program.contains('/') ? (QFileInfo(program).isExecutable() ? program : QString())
                                                : QStandardPaths::findExecutable(program);
    if (found.isEmpty()) return found;
    const QFileInfo script(QFileInfo(found).canonicalFilePath());
    const QFileInfo binary(script.absolutePath() + "/" + script.fileName() + ".bin");
    return script.fileName() == QLatin1String("soffice") && binary.isExecutable() ? binary.filePath() : found;
}

}  // namespace

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::shared_ptr<Connection> Connection::Attach() {
    LoadLibraries();
    std::shared_ptr<Connection> c(new Connection);
    return c->TryConnect() ? c : nullptr;
}

void Connection::Launch() {
    const OfficeSettings& s = TWordApplication::Settings();
    const QString program = ResolveProgram(s.program);
    if (program.isEmpty())
        throw reporterror::OfficeNotStarted(QStringLiteral("the program %1 was not found").arg(s.program));
    try {
        const QString profile = s.userInstallation.isEmpty() ? ClaimProfile(s.profileRoot) : s.userInstallation;
        // Without --headless the same office can show the preview window later.
        QStringList args{"--nologo", "--norestore", "--nodefault", "--nolockcheck", "--nofirststartwizard",
                         "--accept=pipe,name=" + s.pipeName + ";urp;StarOffice.ComponentContext",
                         ProfileArgument(profile)};
        if (!DisplayAvailable()) args << "--headless" << "--invisible";
        Process::Instance().Start(program, args);
    } catch (const EWordError& e) {
        throw reporterror::OfficeNotStarted(e.Message());
    }
}

void Connection::StartInBackground() {
    if (!Process::Instance().Running()) Launch();
}

bool Connection::Running() { return Process::Instance().Running(); }

void Connection::Kill() { Process::Instance().End(0); }

std::shared_ptr<Connection> Connection::Open() {
    LoadLibraries();
    const OfficeSettings& s = TWordApplication::Settings();
    std::shared_ptr<Connection> c(new Connection);
    if (c->TryConnect()) return c;

    Process& proc = Process::Instance();
    const auto launch = [&] {
        Launch();
        c->started_ = true;
    };
    if (!proc.Running()) launch();

    // Retry at a short interval: most of the wait is the office's own start-up.
    QElapsedTimer clock;
    clock.start();
    qint64 exitedAt = -1;
    int launches = 1;
    while (!c->TryConnect()) {
        if (!proc.Running()) {
            if (!c->started_) {
                // The office we found starting went away: start one.
                launch();
                continue;
            }
            // 81 is the office asking to be started again (its profile was just made).
            if (proc.ExitCode() != 0 && proc.ExitCode() != kRestartExitCode)
                throw reporterror::OfficeNotStarted(
                    QStringLiteral("%1 ended with code %2").arg(s.program).arg(proc.ExitCode()));
            // A zero exit hands the start to an office already running on the
            // profile; with the whole group gone, none of ours is left to
            // answer. A new or interrupted profile makes the office do that
            // to itself now and then while it sets the profile up: it is
            // started again.
            if (exitedAt < 0) {
                exitedAt = clock.elapsed();
            } else if (clock.elapsed() - exitedAt > 500) {
                if (launches++ >= 5)
                    throw reporterror::OfficeNotStarted(QStringLiteral("the office keeps ending at start"));
                launch();
                exitedAt = -1;
            }
        }
        if (clock.elapsed() > s.startTimeoutMs) {
            proc.End(0);
            throw reporterror::OfficeNotStarted(
                QStringLiteral("the office did not answer within %1 s").arg(s.startTimeoutMs / 1000));
        }
        QThread::msleep(clock.elapsed() < 2000 ? 10 : 50);
    }
    return c;
}

bool Connection::TryConnect() {
    const auto local = LocalContext();
    try {
        auto connector = connection::Connector::create(local);
        auto conn = connector->connect(U("pipe,name=" + TWordApplication::Settings().pipeName));
        auto factory = bridge::BridgeFactory::create(local);
        auto br = factory->createBridge(rtl::OUString(), "urp", conn, nullptr);
        // Held before the first call over it, so an office not ready yet
        // leaves no half-open bridge behind when Drop() runs.
        bridge_.set(br, uno::UNO_QUERY);
        context_.set(br->getInstance("StarOffice.ComponentContext"), uno::UNO_QUERY_THROW);
        desktop_ = frame::Desktop::create(context_);
        return true;
    } catch (const connection::NoConnectException&) {
        return false;
    } catch (const uno::Exception&) {
        // The pipe exists but the office is not ready (or is going away).
        Drop();
        return false;
    }
}

void Connection::Drop() {
    desktop_.clear();
    context_.clear();
    if (bridge_.is()) {
        try { bridge_->dispose(); } catch (...) {}
        bridge_.clear();
    }
}

void Connection::Release() { Drop(); }

void Connection::Terminate() {
    bool refused = false;
    if (desktop_.is()) {
        try {
            refused = !desktop_->terminate();
        } catch (const uno::Exception&) {
            // the bridge went down with the office: that is the point
        }
    }
    Drop();
    Process& proc = Process::Instance();
    if (proc.Running()) {
        // An office that refuses to close is ended all the same.
        proc.End(refused ? 0 : 10000);
        return;
    }
    // Not a process of ours: wait until it no longer answers, so that the
    // next command never attaches to an office on its way out.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && Connection().TryConnect()) QThread::msleep(20);
}

Connection::~Connection() {
    try {
        Drop();
    } catch (...) {
    }
}

}  // namespace office
