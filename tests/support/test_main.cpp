// main() for every test executable: a QApplication first, then GoogleTest.
// Without a display the offscreen platform is used.
#include <QApplication>
#include <csignal>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // As in the program: a closed office pipe is an error, not the end.
    std::signal(SIGPIPE, SIG_IGN);
    if (qgetenv("DISPLAY").isEmpty() && qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
