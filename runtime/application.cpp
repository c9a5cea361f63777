#include "application.h"

#include "exceptions.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

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
class FirstPaintQuit final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }
private:
    bool seen_ = false;
};
}

void QuitAfterFirstPaint(QWidget* w) { w->installEventFilter(new FirstPaintQuit(w)); }
