#include "busy_work.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>

namespace {

constexpr int kQuietMs = 1000;  // work this short shows only the busy pointer

// Holds back the teacher's input while the work runs, except in the window
// that says what is going on; a close of any window waits too.
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
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::Close: {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && allowed && w->window() == allowed.data()) return false;
            if (e->type() == QEvent::Close) e->ignore();
            return watched->isWidgetType() || watched->isWindowType();
        }
        default: return false;
        }
    }
};

}  // namespace

bool RunBusy(QWidget* owner, const QString& what, const std::function<void(const CancelFlag&)>& work, bool cancellable) {
    CancelFlag cancel{false};
    std::exception_ptr error;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work(cancel);
        } catch (...) {
            error = std::current_exception();
        }
    }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);

    InputHold hold;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<QProgressDialog> progress;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, [&] {
        progress = std::make_unique<QProgressDialog>(what, QString(), 0, 0, owner);
        progress->setWindowTitle(owner ? owner->windowTitle() : QString());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        if (cancellable) {
            progress->setCancelButtonText(QStringLiteral("取消"));
            QProgressDialog* p = progress.get();
            QObject::connect(p, &QProgressDialog::canceled, [&cancel, p, what] {
                cancel = true;
                // The dialog hides itself on 取消; the work ends at its next step.
                p->setLabelText(what + QStringLiteral("\n正在取消……"));
                QTimer::singleShot(0, p, [p] { p->show(); });
            });
        } else {
            progress->setCancelButton(nullptr);
        }
        hold.allowed = progress.get();
        progress->show();
    });
    later.start(kQuietMs);
    thread->start();
    loop.exec();
    thread->wait();
    later.stop();
    progress.reset();
    QApplication::restoreOverrideCursor();
    if (error) std::rethrow_exception(error);
    return !cancel;
}
