#pragma once
// The program's command line: "tessel [FICHERO]", "--help" and "--version". It is read before any
// window exists, so that the help and the version are printed without a display.

#include <QString>
#include <QStringList>

namespace tessel {

struct CommandLine {
    // True when the program only prints `output` and ends with `exitCode` (help, version, a
    // mistake on the command line); false when it starts its window.
    bool printOnly = false;
    QString output;
    bool toStandardError = false;
    int exitCode = 0;
    // The picture to open at start, as an absolute path; empty for none.
    QString picture;
    // Qt's "-platform" and "-display" options, empty when not given.
    QString platform;
    QString display;
};

// Reads the arguments (the program's name first). Qt's own window options (-platform,
// -display, -session, ...) are taken and left to the application object.
CommandLine readCommandLine(const QStringList& arguments);

// Reads the process's arguments with Qt's Spanish texts for the parser's own words and messages,
// through a short-lived core application, before the window's application object exists.
CommandLine readProgramArguments(int argc, char** argv);

// Writes the text of a print-only command line to standard output or standard error.
void printCommandLineOutput(const CommandLine& commandLine);

}  // namespace tessel
