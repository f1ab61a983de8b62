// Before the window: the command line (a picture to open, "--help" and "--version" that only
// print, Qt's own window options passed through, mistakes refused on standard error) and the
// Spanish locale for Qt's own dialogs.

#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

#include "app/CommandLine.h"
#include "app/SpanishLocale.h"
#include "app/Version.h"

namespace tessel {
namespace {

CommandLine read(QStringList arguments) {
    arguments.prepend(QStringLiteral("tessel"));
    return readCommandLine(arguments);
}

TEST(CommandLineTest, AFileIsOpenedByItsAbsolutePathAndQtOptionsPassThrough) {
    EXPECT_FALSE(read({}).printOnly);
    EXPECT_TRUE(read({}).picture.isEmpty());

    const CommandLine relative = read({QStringLiteral("fotos/foto.jpg")});
    EXPECT_FALSE(relative.printOnly);
    EXPECT_EQ(relative.picture, QDir::current().absoluteFilePath(QStringLiteral("fotos/foto.jpg")));
    EXPECT_EQ(read({QStringLiteral("file:///tmp/mi%20foto.png")}).picture,
              QStringLiteral("/tmp/mi foto.png"));

    const CommandLine withQt = read({QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                     QStringLiteral("/tmp/a.png"), QStringLiteral("-session"),
                                     QStringLiteral("1234"), QStringLiteral("-reverse")});
    EXPECT_FALSE(withQt.printOnly);
    EXPECT_EQ(withQt.picture, QStringLiteral("/tmp/a.png"));
    // The window system asked for, which the check for a screen reads before Qt does.
    EXPECT_EQ(withQt.platform, QStringLiteral("offscreen"));
    EXPECT_TRUE(withQt.display.isEmpty());
    EXPECT_EQ(read({QStringLiteral("-display"), QStringLiteral(":3")}).display,
              QStringLiteral(":3"));
}

TEST(CommandLineTest, HelpAndVersionOnlyPrintToStandardOutput) {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const CommandLine help = read({option, QStringLiteral("/tmp/a.png")});
        EXPECT_TRUE(help.printOnly);
        EXPECT_FALSE(help.toStandardError);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.picture.isEmpty());
        EXPECT_TRUE(help.output.contains(QStringLiteral("--version")));
        EXPECT_TRUE(help.output.contains(QStringLiteral("Muestra esta ayuda y termina.")));
        EXPECT_TRUE(help.output.contains(QStringLiteral("[fichero]")));
        // Qt's own options are taken but not offered.
        EXPECT_FALSE(help.output.contains(QStringLiteral("platform")));
    }
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const CommandLine version = read({option});
        EXPECT_TRUE(version.printOnly);
        EXPECT_FALSE(version.toStandardError);
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.output, QStringLiteral("tessel %1\n").arg(QLatin1String(kVersion)));
    }
    // The project's version: three numbers.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(QLatin1String(kVersion))
                    .hasMatch());
}

TEST(CommandLineTest, MistakesAreRefusedOnStandardErrorWithAFailureCode) {
    const QStringList mistakes[] = {{QStringLiteral("--nada")},
                                    {QStringLiteral("a.png"), QStringLiteral("b.png")},
                                    {QStringLiteral("-platform")}};
    for (const QStringList& arguments : mistakes) {
        const CommandLine refused = read(arguments);
        EXPECT_TRUE(refused.printOnly) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(refused.toStandardError);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.output.startsWith(QStringLiteral("tessel: ")));
        EXPECT_TRUE(refused.output.contains(QStringLiteral("tessel --help")));
        EXPECT_TRUE(refused.picture.isEmpty());
    }
}

TEST(SpanishLocaleTest, DatesAndNumbersAreSpanishEvenUnderLcAllAndTheRestStays) {
    const char* const names[] = {"LC_ALL",      "LC_CTYPE",   "LC_COLLATE", "LC_MESSAGES",
                                 "LC_MONETARY", "LC_NUMERIC", "LC_TIME"};
    QList<std::pair<bool, QByteArray>> saved;
    for (const char* name : names) saved.append({qEnvironmentVariableIsSet(name), qgetenv(name)});
    const QLocale savedDefault;

    qputenv("LC_ALL", "en_GB.UTF-8");
    qunsetenv("LC_MESSAGES");
    useSpanishLocale();
    EXPECT_FALSE(qEnvironmentVariableIsSet("LC_ALL"));
    EXPECT_EQ(qgetenv("LC_TIME"), QByteArray("es_ES.UTF-8"));
    EXPECT_EQ(qgetenv("LC_NUMERIC"), QByteArray("es_ES.UTF-8"));
    EXPECT_EQ(qgetenv("LC_CTYPE"), QByteArray("en_GB.UTF-8"));
    EXPECT_EQ(qgetenv("LC_MESSAGES"), QByteArray("en_GB.UTF-8"));
    EXPECT_EQ(QLocale().language(), QLocale::Spanish);

    QLocale::setDefault(savedDefault);
    for (int i = 0; i < int(std::size(names)); ++i) {
        if (saved[i].first) {
            qputenv(names[i], saved[i].second);
        } else {
            qunsetenv(names[i]);
        }
    }
}

}  // namespace
}  // namespace tessel
