#pragma once

#include <QStringList>

// The program's command line. Every feature with options of its own takes them off the list
// (for example "--sheet FILE"); what remains is checked for the one word "bypass".

// The words after the program's name, with the toolkit's own options (such as "-platform")
// already taken off. Needs the application object to exist.
QStringList commandLineWords();

// Whether what remains of the command line asks to open the board at once: the single word
// "bypass", exactly so written and with nothing else beside it.
bool IsBypass(const QStringList& remaining);
