// Start-up and shutdown of the program.

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/MainWindow.h"
#include "app/StartupChecks.h"
#include "platform/Services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessel"));
    QApplication::setDesktopFileName(QStringLiteral("tessel"));

    // Qt's own dialogs (file and colour choosers, message box buttons) speak Spanish too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    const QStringList missing = tessel::missingImageFormats();
    if (!missing.isEmpty()) {
        tessel::platform::services().messages->inform(QStringLiteral("tessel"),
                                                      tessel::codecFailureMessage(missing));
        return 1;
    }

    tessel::MainWindow window;
    if (!window.initialise()) return 0;
    window.show();
    return QApplication::exec();
}
