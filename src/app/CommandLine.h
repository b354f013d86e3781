#pragma once

#include <QString>
#include <QStringList>

// The program's command line. Every feature with options of its own takes them off the list
// (for example "--sheet FILE"); what remains is checked for the one word "bypass".

// The exit status of a command line the program cannot take as written; 1 is left for what
// could not be done (no display, a journal or file that cannot be read or written).
constexpr int kUsageMistake = 2;

// What the command line asks before any window may open: print the usage or the version and
// end, refuse a mistake (an option nobody knows, a bad value; the usage goes to the error
// output), or run.
struct CommandLineRequest {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString text; // the usage, the version line, or the refusal with the usage under it
    int exitCode() const { return action == Action::Refuse ? kUsageMistake : 0; }
};

// Reads `words` (the words after the program's name, the journal's and the live feed's options
// already taken off) for "--help" and "--version" and for options that are neither the
// program's nor the toolkit's (such as "-platform NAME"). Words that are no option are left
// for "bypass" and otherwise ignored. `mistake`, when not empty, is what a feature found wrong
// in its own options: it is refused as an unknown option is, unless help or the version was
// asked. Needs no application object.
CommandLineRequest readCommandLine(const QStringList& words, const QString& mistake = {});

// The usage as "--help" prints it: every option of the program and the word "bypass".
QString usageText();

// The words after the program's name, with the toolkit's own options (such as "-platform")
// already taken off. Needs the application object to exist.
QStringList commandLineWords();

// Whether what remains of the command line asks to open the board at once: the single word
// "bypass", exactly so written and with nothing else beside it.
bool IsBypass(const QStringList& remaining);
