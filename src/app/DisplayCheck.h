#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Whether the windows' side can find a display, asked before it starts: without one the
// toolkit would end the program with an abort and a long message about its plugins.
// `words` is the command line after the program's name, `variable` reads the environment.
// Answers the one line to tell the user when there is no display, empty otherwise (and
// always empty where the system itself is the display, as on Windows).
QString missingDisplay(const QStringList& words,
                       const std::function<QString(const char*)>& variable);
