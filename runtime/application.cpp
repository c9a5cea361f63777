#include "application.h"

#include <utility>

#include "exceptions.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::ShowException(const std::exception& e) {
    QString text;
    if (auto* ex = dynamic_cast<const Exception*>(&e)) text = ex->Message();
    else text = QString::fromUtf8(e.what());
    if (!text.isEmpty() && !text.endsWith('.')) text += '.';
    Dialogs::Current().Message(mainForm_, title_, text, MsgIcon::Error, MsgButtons::OK);
}

void TApplication::HandleCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception(QStringLiteral("Unknown error")));
    }
}

void TApplication::Inform(const QString& text) {
    Dialogs::Current().Message(mainForm_, title_, text, MsgIcon::Information, MsgButtons::OK);
}

namespace {
class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget* w, std::function<void()> then) : QObject(w), then_(std::move(then)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && then_) {
            // After the whole window has painted, not inside its paint.
            QTimer::singleShot(0, parent(), std::exchange(then_, {}));
            deleteLater();
        }
        return false;
    }
private:
    std::function<void()> then_;
};
}

void AfterFirstPaint(QWidget* w, std::function<void()> then) {
    w->installEventFilter(new FirstPaintWatch(w, std::move(then)));
}

void QuitAfterFirstPaint(QWidget* w) {
    AfterFirstPaint(w, [] {
        bool ok = false;
        const int fd = qEnvironmentVariableIntValue("MARKWISE_PAINTED_FD", &ok);
        if (ok && fd > 2) {
            const char painted = 'p';
            if (::write(fd, &painted, 1) != 1) std::perror("MARKWISE_PAINTED_FD");
            ::close(fd);
        }
        QApplication::quit();
    });
}

namespace {
int g_quitPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_requests = 0;

void OnTerminationSignal(int sig) {
    if (++g_requests > 1) {
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    const char byte = 'q';
    (void)!::write(g_quitPipe[1], &byte, 1);
}
}  // namespace

void QuitOnTerminationSignals() {
    if (g_quitPipe[0] >= 0 || ::pipe2(g_quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    // The handler may only write a byte; the event loop reads it and ends.
    // Not quit(): that closes the windows first, and a window that asks the
    // teacher something would keep a logout waiting on a question nobody
    // answers. The work is kept for the next start instead.
    auto* notifier = new QSocketNotifier(g_quitPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte;
        while (::read(g_quitPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}
