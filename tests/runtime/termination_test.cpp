// A termination request closes the program through its event loop, the way
// closing its window does, instead of ending it on the spot.
#include "application.h"

#include <QApplication>
#include <QTimer>
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
