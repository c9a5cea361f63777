// Start-up: the application title, the two windows, the message loop.
#include "application.h"
#include "main_window.h"
#include "toolkit_language.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // A write to the office's pipe after the office went away must end that
    // call with an error, not the program.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    // No display name: the toolkit would append it to every window's caption.
    QApplication::setApplicationName(QStringLiteral("markwise"));
    InstallChineseToolkitTexts(&app);

    TForm2 help;
    TForm1 main(&help);
    Application().SetMainForm(&main);
    if (qEnvironmentVariableIsSet("MARKWISE_EXIT_AFTER_PAINT")) QuitAfterFirstPaint(&main);
    main.show();

    // For a look at the window without a person at the screen.
    const QString shot = qEnvironmentVariable("MARKWISE_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(800, &main, [&main, shot] {
            const bool ok = main.grab().save(shot);
            std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(QFileInfo(shot).absoluteFilePath()));
            if (qEnvironmentVariableIsSet("MARKWISE_SCREENSHOT_QUIT")) QApplication::quit();
        });
    }
    return app.exec();
}
