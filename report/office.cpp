#include "office.h"

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

#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace com::sun::star;

namespace office {

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
        throw EWordError(QStringLiteral("Invalid file name: %1").arg(path));
    return url;
}

namespace {

// The process-wide UNO context that carries the bridge machinery.
Reference<uno::XComponentContext> LocalContext() {
    static std::mutex m;
    static Reference<uno::XComponentContext> ctx;
    std::lock_guard<std::mutex> lock(m);
    if (!ctx.is()) {
        const QString dir = QStringLiteral(MARKWISE_LO_PROGRAM_DIR);
        qputenv("URE_BOOTSTRAP", ("vnd.sun.star.pathname:" + dir + "/fundamentalrc").toUtf8());
        try {
            ctx = cppu::defaultBootstrap_InitialComponentContext(FileUrl(dir + "/unorc"));
        } catch (const uno::Exception& e) {
            throw EWordError("Cannot initialise UNO: " + Q(e.Message));
        }
    }
    return ctx;
}

QString ResolveProgram(const QString& program) {
    if (program.contains('/')) return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program);
}

// Starts the office in its own process group so that it and its children can
// be ended together.
pid_t Spawn(const QString& program, const QStringList& args) {
    std::vector<QByteArray> store;
    store.push_back(QFile::encodeName(program));
    for (const QString& a : args) store.push_back(a.toUtf8());
    std::vector<char*> argv;
    for (auto& s : store) argv.push_back(s.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) throw EWordError(QStringLiteral("Cannot start the office: fork failed"));
    if (pid == 0) {
        setsid();
        const int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

}  // namespace

std::shared_ptr<Connection> Connection::Attach() {
    std::shared_ptr<Connection> c(new Connection);
    return c->TryConnect() ? c : nullptr;
}

std::shared_ptr<Connection> Connection::Open(bool visible) {
    const OfficeSettings& s = TWordApplication::Settings();
    std::shared_ptr<Connection> c(new Connection);
    if (c->TryConnect()) return c;

    const QString program = ResolveProgram(s.program);
    if (program.isEmpty())
        throw EWordError(QStringLiteral("The office program \"%1\" was not found").arg(s.program));
    QStringList args{"--nologo", "--norestore", "--nodefault", "--nolockcheck", "--nofirststartwizard",
                     "--accept=pipe,name=" + s.pipeName + ";urp;StarOffice.ComponentContext"};
    if (!visible) args << "--headless" << "--invisible";
    if (!s.userInstallation.isEmpty())
        args << "-env:UserInstallation=" + Q(FileUrl(s.userInstallation));
    c->pid_ = Spawn(program, args);
    c->headless_ = !visible;

    // Retry at a short interval: most of the wait is the office's own start-up.
    QElapsedTimer clock;
    clock.start();
    qint64 exitedAt = -1;
    while (!c->TryConnect()) {
        if (exitedAt < 0 && c->pid_ > 0) {
            int status = 0;
            if (waitpid(c->pid_, &status, WNOHANG) == c->pid_) {
                c->pid_ = 0;
                // A zero exit means the request went to an office that was
                // already running; it may still open the pipe.
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    throw EWordError(QStringLiteral("The office could not be started (%1)").arg(program));
                exitedAt = clock.elapsed();
            }
        }
        if (clock.elapsed() > s.startTimeoutMs || (exitedAt >= 0 && clock.elapsed() - exitedAt > 10000)) {
            if (c->pid_ > 0) {
                kill(-c->pid_, SIGKILL);
                waitpid(c->pid_, nullptr, 0);
                c->pid_ = 0;
            }
            throw EWordError(QStringLiteral("The office did not answer within %1 s").arg(s.startTimeoutMs / 1000));
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
        context_.set(br->getInstance("StarOffice.ComponentContext"), uno::UNO_QUERY_THROW);
        bridge_.set(br, uno::UNO_QUERY);
        desktop_ = frame::Desktop::create(context_);
        return true;
    } catch (const connection::NoConnectException&) {
        return false;
    } catch (const uno::Exception& e) {
        // The pipe exists but the office is not ready (or is going away).
        context_.clear();
        desktop_.clear();
        if (bridge_.is()) {
            try { bridge_->dispose(); } catch (...) {}
            bridge_.clear();
        }
        return false;
    }
}

bool Connection::Alive() const {
    if (!desktop_.is()) return false;
    try {
        desktop_->getCurrentComponent();
        return true;
    } catch (...) {
        return false;
    }
}

void Connection::Release() {
    desktop_.clear();
    context_.clear();
    if (bridge_.is()) {
        try { bridge_->dispose(); } catch (...) {}
        bridge_.clear();
    }
    if (pid_ > 0) {
        // The office outlives us; reap it if it has already gone.
        waitpid(pid_, nullptr, WNOHANG);
        pid_ = 0;
    }
}

void Connection::Terminate() {
    bool failed = false;
    QString why;
    if (desktop_.is()) {
        try {
            if (!desktop_->terminate()) {
                failed = true;
                why = QStringLiteral("The office refused to close");
            }
        } catch (const lang::DisposedException&) {
            // the bridge went down with the office: that is the point
        } catch (const uno::Exception& e) {
            failed = true;
            why = Q(e.Message);
        }
    }
    desktop_.clear();
    context_.clear();
    if (bridge_.is()) {
        try { bridge_->dispose(); } catch (...) {}
        bridge_.clear();
    }
    if (failed) {
        if (pid_ > 0) {
            WaitForExit(0);  // ours: end it anyway
            return;
        }
        throw EWordError(why);
    }
    if (pid_ > 0) WaitForExit(10000);
}

void Connection::WaitForExit(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();

    while (clock.elapsed() < timeoutMs) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            // oosplash is gone; make sure nothing of its group lingers
            kill(-pid_, SIGKILL);
            pid_ = 0;
            return;
        }
        QThread::msleep(5);
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
}

Connection::~Connection() {
    try {
        Release();
    } catch (...) {
    }
}

}  // namespace office
