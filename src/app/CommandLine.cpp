#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QUrl>
#include <cstdio>

#include "app/Version.h"

namespace tessel {
namespace {

// The window options Qt's application objects read for themselves, with a value or without.
const char* const kQtValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "display", "geometry",
    "style",        "stylesheet",         "name",          "title",   "visual",
    "qmljsdebugger"};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString programName() {
    return QStringLiteral("tessel");
}

CommandLine mistake(const QString& text) {
    CommandLine result;
    result.printOnly = true;
    result.toStandardError = true;
    result.exitCode = 1;
    result.output = programName() + QStringLiteral(": ") + text + u'\n' +
                    QStringLiteral("Pruebe «") + programName() +
                    QStringLiteral(" --help» para ver cómo se usa.\n");
    return result;
}

// A local path as given, or the path of a "file:" address (some launchers pass those).
QString localPath(const QString& argument) {
    if (argument.startsWith(QLatin1String("file:"))) return QUrl(argument).toLocalFile();
    return argument;
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Tessel: composición de imágenes. Compone, rotula y corta imágenes."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Muestra esta ayuda y termina."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Muestra la versión del programa y termina."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("valor"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(
        QStringLiteral("fichero"),
        QStringLiteral(
            "Imagen que se abre al empezar (PNG, JPEG, GIF, TIFF, BMP, WebP, HEIC o AVIF)."),
        QStringLiteral("[fichero]"));

    if (!parser.parse(arguments)) return mistake(parser.errorText());
    CommandLine result;
    if (parser.isSet(help)) {
        result.printOnly = true;
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.printOnly = true;
        result.output = programName() + u' ' + QString::fromLatin1(kVersion) + u'\n';
        return result;
    }
    result.platform = parser.value(QStringLiteral("platform"));
    result.display = parser.value(QStringLiteral("display"));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return mistake(QStringLiteral("sólo se puede abrir una imagen a la vez."));
    if (!files.isEmpty()) {
        const QString path = localPath(files.constFirst());
        if (path.isEmpty()) return mistake(QStringLiteral("el fichero no es un fichero local."));
        result.picture = QFileInfo(path).absoluteFilePath();
    }
    return result;
}

CommandLine readProgramArguments(int argc, char** argv) {
    if (argc <= 1) return {};  // started from a menu: nothing to read, nothing to slow the start
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(programName());
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts);
    }
    return readCommandLine(QCoreApplication::arguments());
}

void printCommandLineOutput(const CommandLine& commandLine) {
    std::FILE* stream = commandLine.toStandardError ? stderr : stdout;
    std::fputs(commandLine.output.toUtf8().constData(), stream);
    std::fflush(stream);
}

}  // namespace tessel
