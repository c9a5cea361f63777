// A termination request closes the program through its event loop, the way
// closing its window does, instead of ending it on the spot.
#include "application.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QDialog>
#include <QCloseEvent>
#include <csignal>
#include <gtest/gtest.h>

TEST(Termination, ARequestEndsTheEventLoopAndTheProgramGoesOn) {
    QuitOnTerminationSignals();
    bool timedOut = false;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(10000, [&] {
        timedOut = true;
        QApplication::quit();
    });
    QApplication::exec();  // a process that got here and returns was not killed
    EXPECT_FALSE(timedOut);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
}

namespace {
// A window that asks before it closes, as the main window does with unsaved work.
class AskingWindow : public QWidget {
public:
    int closeRequests = 0;
protected:
    void closeEvent(QCloseEvent* e) override {
        ++closeRequests;
        e->ignore();
    }
};
}  // namespace

// A logout while a message is open: every event loop ends, and no window is
// asked to close, so nothing waits on a question nobody will answer.
TEST(Termination, ARequestDuringAModalDialogAsksNoWindowToClose) {
    QuitOnTerminationSignals();
    AskingWindow window;
    window.show();
    bool timedOut = false, dialogEnded = false;
    QTimer::singleShot(0, [&] {
        QDialog message(&window);
        QTimer::singleShot(50, [] { std::raise(SIGTERM); });
        message.exec();
        dialogEnded = true;
    });
    QTimer::singleShot(10000, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    QApplication::exec();
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(dialogEnded);
    EXPECT_EQ(window.closeRequests, 0);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
}
