#include "application.h"

#include <utility>

#include "exceptions.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
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
