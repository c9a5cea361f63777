#include "busy_work.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <exception>

namespace {

// Holds back what a person does to any window while the work runs, except in
// the window that says what is going on, so no second command starts halfway
// through the first; a close waits too.
class InputHold final : public QObject {
public:
    InputHold() { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }
    QPointer<QWidget> allowed;

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
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::Close: {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && allowed && w->window() == allowed.data()) return false;
            // A filtered close would count as accepted and close the window.
            if (e->type() == QEvent::Close) e->ignore();
            return watched->isWidgetType() || watched->isWindowType();
        }
        default: return false;
        }
    }
};

// What the thread shares with the caller; it outlives a caller that let go.
struct Shared {
    CancelFlag cancelled{false};
    std::exception_ptr error;
};

}  // namespace

bool RunBusy(QWidget* window, const QString& text, const std::function<void(const CancelFlag&)>& work,
             BusyCancel cancel) {
    auto shared = std::make_shared<Shared>();
    QThread* thread = QThread::create([shared, work] {
        try {
            work(shared->cancelled);
        } catch (...) {
            shared->error = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    // Connected before the start, so an end at any moment reaches the loop.
    QEventLoop loop;
    bool finished = false;
    QObject::connect(thread, &QThread::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    const auto outcome = [&] {
        if (shared->error) std::rethrow_exception(shared->error);
        return !shared->cancelled;
    };
    thread->start();
    // A short piece of work is waited out: no busy pointer flashes for a small file.
    if (thread->wait(QDeadlineTimer(kQuietWaitMs))) return outcome();

    InputHold hold;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QPointer<QProgressDialog> progress;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &loop, [&] {
        progress = new QProgressDialog(text, QString(), 0, 0, window);
        progress->setObjectName(QStringLiteral("busyProgress"));
        progress->setWindowTitle(window ? window->window()->windowTitle() : QString());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        if (cancel == BusyCancel::None) {
            progress->setCancelButton(nullptr);
        } else {
            progress->setCancelButtonText(QStringLiteral("取消"));
            QObject::connect(progress, &QProgressDialog::canceled, &loop, [&] {
                shared->cancelled = true;
                if (cancel == BusyCancel::LetGo) {
                    loop.quit();
                    return;
                }
                // The dialog hides itself on 取消; the work ends at its next step.
                progress->setLabelText(text + QStringLiteral("\n正在取消……"));
                QTimer::singleShot(0, progress, [p = progress] { p->show(); });
            });
        }
        hold.allowed = progress;
        progress->show();
    });
    later.start(kBusyDialogDelayMs);
    loop.exec();
    later.stop();
    delete progress;
    QApplication::restoreOverrideCursor();
    // Let go: the thread ends by itself and deletes itself.
    if (!finished) return false;
    return outcome();
}
