// Start-up: the application title, the two windows, the message loop.
#include "application.h"
#include "class_commands.h"
#include "colors.h"
#include "control.h"
#include "font_preparation.h"
#include "main_window.h"
#include "program_icon.h"
#include "recovery_slot.h"
#include "skin_form.h"
#include "toolkit_language.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
// The class file named on the command line (a desktop's "open with"): the
// first argument that is not an option.
QString ClassFileArgument() {
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype k = 1; k < args.size(); ++k) {
        if (args[k].startsWith('-')) continue;
        const QUrl url(args[k]);
        return url.isLocalFile() ? url.toLocalFile() : args[k];
    }
    return QString();
}
}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts: it needs no display.
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("markwise %s\n", MARKWISE_VERSION);
        return 0;
    }
    // A write to the office's pipe after the office went away must end that
    // call with an error, not the program.
    std::signal(SIGPIPE, SIG_IGN);
    // The font list is made on another core while the toolkit starts.
    FontPreparation fonts;
    QApplication app(argc, argv);
    fonts.ApplicationReady();
    QuitOnTerminationSignals();
    // One look on every desktop: the skin draws our controls, and the
    // toolkit draws the rest in the same colours.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(SystemPalette());
    // Text the toolkit draws (its dialogs, and every edit's first layout
    // before the window's fonts arrive) in the window's own typeface: the
    // same punctuation everywhere, and no typeface loaded only to be dropped.
    QFont font = QApplication::font();
    font.setFamilies(TFontSpec::FallbackFamilies());
    QApplication::setFont(font);
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    // No display name: the toolkit would append it to every window's caption.
    QApplication::setApplicationName(QStringLiteral("markwise"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallChineseToolkitTexts(&app);
    // Without a locale of its own (LANG unset, C, POSIX) the program is the
    // Chinese program it is: dates as a Chinese teacher writes them. The
    // decimal point stays "." either way.
    if (QLocale::system().language() == QLocale::C) QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    TForm1::Prepare();
    // Every control asks whether its described font is installed as it is
    // made; the toolkit's list is needed first when a text is measured.
    fonts.WaitForConfiguration();
    TForm1 main(nullptr);
    fonts.Wait();
    Application().SetMainForm(&main);
    if (qEnvironmentVariableIsSet("MARKWISE_EXIT_AFTER_PAINT")) QuitAfterFirstPaint(&main);
    // The other pages and the help window are made as soon as the main
    // window is up: nobody can ask for them sooner, and the window appears
    // the faster.
    else
        AfterFirstPaint(&main, [&main] {
            Shielded([&main] {
                main.CompleteLoading();
                // Work a copy that died left behind is offered first; then
                // the class file the program was started with, if any.
                main.KeepWorkSafe(DefaultRecoveryRoot());
                if (const QString file = ClassFileArgument(); !file.isEmpty() && main.MaySetClassAside())
                    OpenClassFile(main, file);
            });
            main.HelpWindow();
        });
    main.show();

    // For a look at the window without a person at the screen: the whole
    // window with its frame, cut to its shape.
    const QString shot = qEnvironmentVariable("MARKWISE_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(800, &main, [&main, shot] {
            auto* frame = main.Find<TSkCustomForm>(QStringLiteral("SkSkinForm1"));
            const bool ok = (frame ? frame->GrabWindow() : main.grab().toImage()).save(shot);
            std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(QFileInfo(shot).absoluteFilePath()));
            if (qEnvironmentVariableIsSet("MARKWISE_SCREENSHOT_QUIT")) QApplication::quit();
        });
    }
    return app.exec();
}
