#include "journal/BoardJournal.h"

#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "game/KeyCodes.h"
#include "journal/BoardRecord.h"
#include "journal/JournalFiles.h"
#include "penalties/AssistedBoard.h"
#include "settings/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

// "restored game of 20:41, clock stopped"; a game last written on another day shows its date.
QString restoredNotice(std::int64_t wallMs, bool clockRunning) {
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(wallMs);
    const bool today = written.date() == QDate::currentDate();
    return QStringLiteral("restored game of %1, clock %2")
        .arg(written.toString(today ? QStringLiteral("hh:mm") : QStringLiteral("yyyy-MM-dd hh:mm")),
             clockRunning ? QStringLiteral("running") : QStringLiteral("stopped"));
}

} // namespace

BoardJournal::BoardJournal(frmScoreBoard& board, GameJournal& journal, JournalStore& store,
                           const Settings& settings, QObject* parent)
    : QObject(parent), board_(board), journal_(journal), store_(store), settings_(settings) {
    journal_.onMessage = [this](const QString& m) { show(m); };
    noticeTimer_.setSingleShot(true);
    connect(&noticeTimer_, &QTimer::timeout, this, [this] { showNotice(QString()); });
}

bool BoardJournal::start(bool takeUpClosed) {
    loaded_ = board_.logic().state();
    const std::optional<BoardState> last = journal_.begin(loaded_, takeUpClosed);
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
    // What others tell the timekeeper goes where the journal's own notices go.
    connect(&board_, &frmScoreBoard::operatorNotice, this, &BoardJournal::showNotice);
    if (last) {
        const BoardState shown = board_.logic().state();
        journal_.record(shown, JournalKind::Restore);
        // A game that never changed from the board's start brings nothing back worth telling.
        if (shown != loaded_)
            showNotice(restoredNotice(journal_.resumedWallMs(), shown.clockRunning));
    } else if (takeUpClosed) {
        showNotice(QStringLiteral("no game in the journal to take up again; a new game begins"));
    }
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
    // Any key ends the notice of the moment; a shortcut may then give a new one.
    showNotice(QString());
    return takeShortcut(*static_cast<QKeyEvent*>(event));
}

// The journal's own Ctrl keys; true when the key was one of them.
bool BoardJournal::takeShortcut(const QKeyEvent& key) {
    if (!key.modifiers().testFlag(Qt::ControlModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Z:
        if (key.modifiers().testFlag(Qt::ShiftModifier))
            redo();
        else
            undo();
        return true;
    case Qt::Key_Y:
        redo();
        return true;
    case Qt::Key_S:
        if (!key.isAutoRepeat())
            writeSheet();
        return true;
    case Qt::Key_N:
        if (!key.isAutoRepeat())
            askNewGame();
        return true;
    default:
        return false;
    }
}

void BoardJournal::undo() {
    if (const std::optional<QJsonObject> values = journal_.history().undo())
        putBack(*values, JournalKind::Undo);
}

void BoardJournal::redo() {
    if (const std::optional<QJsonObject> values = journal_.history().redo())
        putBack(*values, JournalKind::Redo);
}

void BoardJournal::askNewGame() {
    QMessageBox question(QMessageBox::Question, QStringLiteral("New Game"),
                         QStringLiteral("Are you sure you want to start a new game?"),
                         QMessageBox::Yes | QMessageBox::No, &board_);
    question.setDefaultButton(QMessageBox::No);
    if (question.exec() == QMessageBox::Yes)
        newGame();
}

void BoardJournal::newGame() {
    // The old game ends first, so that nothing of the way back is written into it.
    journal_.end();
    board_.logic().restore(loaded_, true);
    dropTyping();
    emit board_.boardChanged();
    journal_.startNewGame(board_.logic().state());
    board_.entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
}

// Half-typed numbers and times belong to the old game: the space bar drops them, once in a
// number field and once in a time field, as it would for the operator. A space bar the
// settings made a function key is left alone.
void BoardJournal::dropTyping() {
    if (board_.logic().IsFunctionKey(vk::Space))
        return;
    board_.logic().KeyDown(EntryBox::HomeBack, vk::Space);
    board_.logic().KeyDown(EntryBox::TimeBack, vk::Space);
}

void BoardJournal::putBack(const QJsonObject& values, const QString& kind) {
    kind_ = kind;
    putBackValues(board_.logic(), values);
    emit board_.boardChanged();
    kind_.clear();
}

QString BoardJournal::writeSheet() {
    if (!store_.isOpen() && !store_.open()) {
        showNotice(QStringLiteral("Game sheet not written: ") + store_.lastError());
        return {};
    }
    std::vector<GameSummary> games = store_.games();
    auto it = std::find_if(games.begin(), games.end(),
                           [this](const GameSummary& g) { return g.id == journal_.game(); });
    if (it == games.end()) {
        showNotice(QStringLiteral("Game sheet not written: the game is not in the journal yet"));
        return {};
    }
    // The rows do not keep the rule book; the assistant's penalties are read by the one in force.
    penalties::AssistedBoard* assisted = board_.penaltyAssistant();
    const GameSheet sheet =
        buildSheet(*it, store_.rows(it->id),
                   assisted ? assisted->assistant().rules() : penalties::PenaltyRules{});
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
            showNotice(QStringLiteral("Game sheet not written: ") + error);
            return {};
        }
    }
    showNotice(QStringLiteral("Game sheet written: ") + base + QStringLiteral(".html"),
               kSheetNoticeMs);
    return base + QStringLiteral(".html");
}

void BoardJournal::show(const QString& message) {
    if (message == message_)
        return;
    message_ = message;
    if (!message.isEmpty()) {
        qWarning("%s", qPrintable(message));
        emit told(message);
    }
    applyTitle();
}

// A notice stays until the next key, or for `clearAfterMs` when that is not 0. A failure
// stays until the next key, so that it is not missed.
void BoardJournal::showNotice(const QString& notice, int clearAfterMs) {
    noticeTimer_.stop();
    if (clearAfterMs > 0)
        noticeTimer_.start(clearAfterMs);
    if (notice == notice_)
        return;
    notice_ = notice;
    if (!notice.isEmpty()) {
        qInfo("%s", qPrintable(notice));
        emit told(notice);
    }
    applyTitle();
}

void BoardJournal::applyTitle() {
    QString title = board_.windowTitle();
    if (!shownSuffix_.isEmpty() && title.endsWith(shownSuffix_))
        title.chop(shownSuffix_.size());
    shownSuffix_.clear();
    // With the console open, the console tells them: the title is the audience's.
    for (const QString* part : {&message_, &notice_})
        if (!part->isEmpty() && !board_.consoleOpen())
            shownSuffix_ += QStringLiteral(" \u2014 ") + *part;
    const QString wanted = title + shownSuffix_;
    if (board_.windowTitle() != wanted)
        board_.setWindowTitle(wanted);
}
