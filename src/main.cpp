// Start-up and shutdown of the program.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/MainWindow.h"
#include "app/SpanishLocale.h"
#include "platform/ProgramStyle.h"
#include "recovery/Recovery.h"

int main(int argc, char** argv) {
    // Qt's own dialogs (file and colour choosers, message box buttons) speak Spanish too, and
    // write sizes and dates the Spanish way. Set before any part of Qt reads the locale.
    tessel::useSpanishLocale();

    // "--help" and "--version" are answered before any window exists, so need no display.
    const tessel::CommandLine commandLine = tessel::readProgramArguments(argc, argv);
    if (commandLine.printOnly) {
        tessel::printCommandLineOutput(commandLine);
        return commandLine.exitCode;
    }

    // Without a screen Qt would end the program with an abort: say so, and end with status 1.
    if (const auto message = tessel::noDisplayMessage(
            tessel::DisplaySettings::fromEnvironment(commandLine.platform, commandLine.display))) {
        tessel::CommandLine refusal;
        refusal.output = *message + u'\n';
        refusal.toStandardError = true;
        tessel::printCommandLineOutput(refusal);
        return 1;
    }

    QApplication app(argc, argv);
    tessel::keepCNumbers();
    tessel::platform::useProgramStyle();  // Qt's, with the menu bar's arrow read when drawn
    QApplication::setApplicationName(QStringLiteral("tessel"));
    QApplication::setDesktopFileName(QStringLiteral("tessel"));

    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    tessel::MainWindow window;
    if (!window.initialise()) return 1;  // the screen is too small: it could not start
    // Unsaved work is kept in a recovery copy and offered back after a crash; the ending
    // signals write it and end cleanly.
    tessel::recovery::Recovery recovery(window);
    window.show();
    window.startWhenShown(commandLine.picture, [&recovery] { recovery.start(); });
    return QApplication::exec();
}
