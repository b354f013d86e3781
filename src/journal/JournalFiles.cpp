#include "journal/JournalFiles.h"

#include "journal/JournalStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

QString journalFolder() {
    const QString dir = qEnvironmentVariable("PUCKTALLY_JOURNAL_DIR");
    return dir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : dir;
}

QString journalPath() {
    return QDir(journalFolder()).filePath(QStringLiteral("journal.sqlite"));
}

bool isSheetFileName(const QString& file) {
    const QString ext = QFileInfo(file).suffix().toLower();
    return ext == QLatin1String("csv") || ext == QLatin1String("html") ||
           ext == QLatin1String("htm");
}

bool writeSheetFile(const QString& file, const GameSheet& sheet, const QString& homeName,
                    const QString& visitorName, QString* error) {
    const QString ext = QFileInfo(file).suffix().toLower();
    QString text;
    if (ext == QLatin1String("csv"))
        text = sheetCsv(sheet, homeName, visitorName);
    else if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        text = sheetHtml(sheet, homeName, visitorName);
    else {
        *error = QStringLiteral("%1: the sheet is written as .csv or .html").arg(file);
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
        *error = QStringLiteral("%1: %2").arg(file, out.errorString());
        return false;
    }
    return true;
}

JournalOptions takeJournalOptions(QStringList& args) {
    JournalOptions o;
    for (int i = 0; i < args.size();) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--games")) {
            o.listGames = true;
            args.removeAt(i);
        } else if (a == QLatin1String("--resume")) {
            o.resume = true;
            args.removeAt(i);
        } else if (a == QLatin1String("--sheet") || a == QLatin1String("--game")) {
            if (!hasValue) {
                o.error = QStringLiteral("%1 needs a value").arg(a);
                args.removeAt(i);
                continue;
            }
            const QString value = args[i + 1];
            if (a == QLatin1String("--sheet")) {
                o.sheetFile = value;
            } else {
                bool ok = false;
                o.game = value.toInt(&ok);
                if (!ok || o.game <= 0)
                    o.error = QStringLiteral("--game needs a game number, not \"%1\"").arg(value);
            }
            args.removeAt(i);
            args.removeAt(i);
        } else {
            ++i;
        }
    }
    if (o.game > 0 && o.sheetFile.isEmpty() && o.error.isEmpty())
        o.error = QStringLiteral("--game goes with --sheet FILE");
    if (!o.sheetFile.isEmpty() && !isSheetFileName(o.sheetFile) && o.error.isEmpty())
        o.error = QStringLiteral("%1: the sheet is written as .csv or .html").arg(o.sheetFile);
    if (o.resume && (!o.sheetFile.isEmpty() || o.listGames) && o.error.isEmpty())
        o.error =
            QStringLiteral("--resume opens the board; it goes with neither --sheet nor --games");
    return o;
}

int runJournalCommand(const JournalOptions& o, JournalStore& store, const QString& homeName,
                      const QString& visitorName, QTextStream& out, QTextStream& err,
                      const penalties::PenaltyRules& rules) {
    if (!o.error.isEmpty()) {
        err << o.error << Qt::endl;
        return 2;
    }
    if (!store.open()) {
        err << store.lastError() << Qt::endl;
        return 1;
    }
    const QString notice = store.takeNotice();
    if (!notice.isEmpty())
        err << notice << Qt::endl;
    const std::vector<GameSummary> games = store.games();
    if (o.listGames) {
        out << "Game\tStarted\tEnded\tEvents" << Qt::endl;
        for (const GameSummary& g : games) {
            auto date = [](std::int64_t ms) {
                return ms <= 0 ? QStringLiteral("-")
                               : QDateTime::fromMSecsSinceEpoch(ms).toString(Qt::ISODate);
            };
            out << g.id << '\t' << date(g.startedWallMs) << '\t'
                << (g.endedWallMs > 0 ? date(g.endedWallMs) : QStringLiteral("(not closed)"))
                << '\t' << g.events << Qt::endl;
        }
    }
    if (o.sheetFile.isEmpty())
        return 0;
    const GameSummary* game = games.empty() ? nullptr : &games.back();
    if (o.game > 0) {
        auto it = std::find_if(games.begin(), games.end(),
                               [&o](const GameSummary& g) { return g.id == o.game; });
        if (it == games.end()) {
            err << "No game " << o.game << " in the journal (--games lists them)." << Qt::endl;
            return 2;
        }
        game = &*it;
    }
    if (!game) {
        err << "The journal holds no game yet." << Qt::endl;
        return 1;
    }
    const GameSheet sheet = buildSheet(*game, store.rows(game->id), rules);
    QString error;
    if (!writeSheetFile(o.sheetFile, sheet, homeName, visitorName, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    out << "Game " << game->id << " written to " << o.sheetFile << Qt::endl;
    return 0;
}
