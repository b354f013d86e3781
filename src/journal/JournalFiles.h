#pragma once

#include "journal/GameSheet.h"

#include <QString>
#include <QStringList>

class JournalStore;
class QTextStream;

// Where the journal lives: $PUCKTALLY_JOURNAL_DIR when set (tests and portable installs),
// otherwise the per-user data folder, never the program's folder.
QString journalFolder();
QString journalPath();

// Writes the sheet to `file`, as CSV for ".csv" and as a page for ".html" or ".htm". False
// with the reason in `error` for another extension or a file that cannot be written.
bool writeSheetFile(const QString& file, const GameSheet& sheet, const QString& homeName,
                    const QString& visitorName, QString* error);

// Whether `file` names a kind of sheet writeSheetFile() writes (.csv, .html or .htm).
bool isSheetFileName(const QString& file);

// The journal's command-line uses: "--sheet FILE" (the last game, or "--game N"), "--games",
// and "--resume", which opens the board on the last game played instead of a fresh one.
struct JournalOptions {
    QString sheetFile;
    int game = 0; // 0: the last game
    bool listGames = false;
    bool resume = false; // goes with the board, not with the options that end without one
    QString error;       // a malformed option; the program says so and exits
    bool any() const { return !sheetFile.isEmpty() || listGames || !error.isEmpty(); }
};
// Takes the journal's options (and their values) off `args`, leaving everything else.
JournalOptions takeJournalOptions(QStringList& args);

// Does what the options ask against `store` and answers the process's exit code: 0, 2 for a
// mistake on the command line (a game the journal does not hold included), 1 when the journal
// or the file could not be read or written. A sheet
// reads the penalty assistant's penalties by `rules`.
int runJournalCommand(const JournalOptions& options, JournalStore& store, const QString& homeName,
                      const QString& visitorName, QTextStream& out, QTextStream& err,
                      const penalties::PenaltyRules& rules = {});
