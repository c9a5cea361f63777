#include "busy_work.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

// Swallows what a person does to the window while the work runs, so no
// second command starts halfway through the first.
class InputHold : public QObject {
public:
    explicit InputHold(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close: {
            auto* w = qobject_cast<QWidget*>(watched);
            return w && window_ && w->window() == window_;
        }
        default: return false;
        }
    }

private:
    QWidget* window_;
};

struct Shared {
    std::atomic<bool> cancelled{false};
    std::exception_ptr error;
};

}  // namespace

bool RunBusy(QWidget* window, const QString& text, const std::function<void(const std::atomic<bool>&)>& work) {
    auto shared = std::make_shared<Shared>();
    QThread* thread = QThread::create([shared, work] {
        try {
            work(shared->cancelled);
        } catch (...) {
            shared->error = std::current_exception();
        }
    });
    QEventLoop loop;
    bool finished = false;
    QObject::connect(thread, &QThread::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    InputHold hold(window ? window->window() : nullptr);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QProgressDialog* progress = nullptr;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &loop, [&] {
        progress = new QProgressDialog(text, QStringLiteral("取消"), 0, 0, window);
        progress->setObjectName(QStringLiteral("busyProgress"));
        progress->setWindowTitle(window ? window->window()->windowTitle() : QString());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        QObject::connect(progress, &QProgressDialog::canceled, &loop, [&] {
            shared->cancelled = true;
            loop.quit();
        });
        progress->show();
    });
    thread->start();
    // A short read is waited out: no busy pointer flashes for a small file.
    if (thread->wait(QDeadlineTimer(kQuietWaitMs))) {
        QApplication::restoreOverrideCursor();
        if (shared->error) std::rethrow_exception(shared->error);
        return true;
    }
    later.start(kBusyDialogDelayMs);
    loop.exec();
    later.stop();
    delete progress;
    QApplication::restoreOverrideCursor();
    if (!finished) return false;  // cancelled: the thread ends by itself
    if (shared->error) std::rethrow_exception(shared->error);
    return !shared->cancelled;
}
