#include "journal/BoardJournal.h"

#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/BoardRecord.h"
#include "journal/JournalFiles.h"
#include "settings/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QKeyEvent>

BoardJournal::BoardJournal(frmScoreBoard& board, GameJournal& journal, JournalStore& store,
                           const Settings& settings, QObject* parent)
    : QObject(parent), board_(board), journal_(journal), store_(store), settings_(settings) {
    journal_.onMessage = [this](const QString& m) { show(m); };
}

bool BoardJournal::start() {
    const std::optional<BoardState> last = journal_.begin(board_.logic().state());
    if (last) {
        kind_ = JournalKind::Restore;
        board_.logic().restore(*last, true);
        emit board_.boardChanged();
        kind_.clear();
    }
    connect(&board_, &frmScoreBoard::boardChanged, this, &BoardJournal::changed);
    board_.installEventFilter(this);
    for (int i = 0; i < kEntryBoxCount; ++i)
        board_.entryBox(static_cast<EntryBox>(i))->installEventFilter(this);
    // The board writes its own title on every resize; the message goes back on after it.
    connect(&board_, &QWidget::windowTitleChanged, this, [this] { applyTitle(); });
    if (last)
        journal_.record(board_.logic().state(), JournalKind::Restore);
    return last.has_value();
}

void BoardJournal::changed() {
    const QString kind = !kind_.isEmpty()          ? kind_
                         : board_.changedByClock() ? JournalKind::Clock
                                                   : JournalKind::Key;
    journal_.record(board_.logic().state(), kind);
}

bool BoardJournal::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->modifiers().testFlag(Qt::ControlModifier) || key->key() < Qt::Key_A ||
        key->key() > Qt::Key_Z)
        return false;
    if (key->key() == Qt::Key_Z && key->modifiers().testFlag(Qt::ShiftModifier))
        redo();
    else if (key->key() == Qt::Key_Z)
        undo();
    else if (key->key() == Qt::Key_Y)
        redo();
    else if (key->key() == Qt::Key_S && !key->isAutoRepeat())
        writeSheet();
    return true;
}

void BoardJournal::undo() {
    if (const std::optional<QJsonObject> values = journal_.history().undo())
        putBack(*values, JournalKind::Undo);
}

void BoardJournal::redo() {
    if (const std::optional<QJsonObject> values = journal_.history().redo())
        putBack(*values, JournalKind::Redo);
}

void BoardJournal::putBack(const QJsonObject& values, const QString& kind) {
    kind_ = kind;
    putBackValues(board_.logic(), values);
    emit board_.boardChanged();
    kind_.clear();
}

QString BoardJournal::writeSheet() {
    if (!store_.isOpen() && !store_.open()) {
        show(QStringLiteral("Game sheet not written: ") + store_.lastError());
        return {};
    }
    std::vector<GameSummary> games = store_.games();
    auto it = std::find_if(games.begin(), games.end(),
                           [this](const GameSummary& g) { return g.id == journal_.game(); });
    if (it == games.end()) {
        show(QStringLiteral("Game sheet not written: the game is not in the journal yet"));
        return {};
    }
    const GameSheet sheet = buildSheet(*it, store_.rows(it->id));
    const QDir folder(QDir(journalFolder()).filePath(QStringLiteral("sheets")));
    folder.mkpath(QStringLiteral("."));
    const QString base = folder.filePath(
        QStringLiteral("game-%1-%2")
            .arg(it->id)
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"))));
    QString error;
    for (const char* ext : {".csv", ".html"}) {
        if (!writeSheetFile(base + QLatin1String(ext), sheet, settings_.HomeText,
                            settings_.VisitorText, &error)) {
            show(QStringLiteral("Game sheet not written: ") + error);
            return {};
        }
    }
    show(QStringLiteral("Game sheet written: ") + base + QStringLiteral(".html"));
    return base + QStringLiteral(".html");
}

void BoardJournal::show(const QString& message) {
    if (message == message_)
        return;
    message_ = message;
    if (!message.isEmpty())
        qWarning("%s", qPrintable(message));
    applyTitle();
}

void BoardJournal::applyTitle() {
    QString title = board_.windowTitle();
    if (!shownSuffix_.isEmpty() && title.endsWith(shownSuffix_))
        title.chop(shownSuffix_.size());
    shownSuffix_ = message_.isEmpty() ? QString() : QStringLiteral(" \u2014 ") + message_;
    const QString wanted = title + shownSuffix_;
    if (board_.windowTitle() != wanted)
        board_.setWindowTitle(wanted);
}
