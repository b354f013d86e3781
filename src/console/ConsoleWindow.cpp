#include "console/ConsoleWindow.h"

#include "board/frmScoreBoard.h"
#include "console/BoardMirror.h"
#include "console/ConsoleText.h"
#include "console/CorrectionDialog.h"
#include "console/ToldEventText.h"
#include "display/PictureBox.h"
#include "penalties/AssistedBoard.h"
#include "penalties/PenaltyBench.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kNoticesKept = 50;
constexpr int kEventsKept = 500;

QLabel* textLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QListWidget* listOf(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    // Keys belong to the board: the lists are picked with the mouse only.
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

QString joined(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out.join(QLatin1Char('\n'));
}

} // namespace

ConsoleWindow::ConsoleWindow(frmScoreBoard& board, QWidget* parent)
    : QWidget(parent, Qt::Window), board_(board) {
    setObjectName(QStringLiteral("frmConsole"));
    setWindowTitle(QStringLiteral("Pucktally - Timekeeper"));
    setFocusPolicy(Qt::StrongFocus);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    mirror_ = new BoardMirror(board, this);
    mirror_->setObjectName(QStringLiteral("boardMirror"));
    selection_ = textLabel(this, QStringLiteral("lblSelection"));
    penaltyEntry_ = textLabel(this, QStringLiteral("lblPenaltyEntry"));
    strength_ = textLabel(this, QStringLiteral("lblStrength"));
    auto* benches = new QWidget(this);
    auto* benchRow = new QGridLayout(benches);
    benchRow->setContentsMargins(0, 0, 0, 0);
    homeBench_ = textLabel(benches, QStringLiteral("lblHomeBench"));
    visitorBench_ = textLabel(benches, QStringLiteral("lblVisitorBench"));
    for (QLabel* bench : {homeBench_, visitorBench_})
        bench->setFont(fixed);
    benchRow->addWidget(new QLabel(QStringLiteral("Home"), benches), 0, 0);
    benchRow->addWidget(new QLabel(QStringLiteral("Visitor"), benches), 0, 1);
    benchRow->addWidget(homeBench_, 1, 0);
    benchRow->addWidget(visitorBench_, 1, 1);

    events_ = listOf(this, QStringLiteral("lstEvents"));
    events_->setFont(fixed);
    notices_ = listOf(this, QStringLiteral("lstNotices"));
    change_ = new QPushButton(QStringLiteral("Change..."), this);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    for (QPushButton* button : {change_, delete_})
        button->setFocusPolicy(Qt::NoFocus);
    connect(change_, &QPushButton::clicked, this, [this] { correctSelected(false); });
    connect(delete_, &QPushButton::clicked, this, [this] { correctSelected(true); });
    connect(events_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(mirror_, 0, 0, 3, 1);
    grid->addWidget(selection_, 0, 1);
    grid->addWidget(penaltyEntry_, 1, 1);
    grid->addWidget(strength_, 2, 1);
    grid->addWidget(benches, 3, 0, 1, 2);
    auto* eventBox = new QGroupBox(QStringLiteral("Game events"), this);
    auto* eventLayout = new QGridLayout(eventBox);
    eventLayout->addWidget(events_, 0, 0, 1, 2);
    eventLayout->addWidget(change_, 1, 0);
    eventLayout->addWidget(delete_, 1, 1);
    auto* noticeBox = new QGroupBox(QStringLiteral("Notices"), this);
    auto* noticeLayout = new QVBoxLayout(noticeBox);
    feed_ = textLabel(noticeBox, QStringLiteral("lblFeed"));
    feed_->hide();
    noticeLayout->addWidget(feed_);
    noticeLayout->addWidget(notices_);
    grid->addWidget(eventBox, 4, 0);
    grid->addWidget(noticeBox, 4, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(4, 1);
    mirror_->setMinimumSize(320, 230);

    last_ = board_.logic().state();
    refresh();
}

void ConsoleWindow::setText(QLabel* label, const QString& text) {
    // A label set to the text it has does nothing; compared here so nothing is laid out anew.
    if (label->text() != text)
        label->setText(text);
}

void ConsoleWindow::refresh(bool tickOnly) {
    const penalties::AssistedBoard* assisted = board_.penaltyAssistant();
    if (tickOnly) {
        if (assisted)
            showBench(*assisted);
        emit refreshed();
        return;
    }
    QWidget* target = board_.keyTarget();
    QString selected;
    for (int i = 0; i < kEntryBoxCount; ++i)
        if (board_.entryBox(static_cast<EntryBox>(i)) == target)
            selected = fieldTitle(static_cast<EntryBox>(i));
    ScoreBoardLogic& logic = board_.logic();
    QString typing = logic.timeEntry().TimeEntryText();
    if (typing.isEmpty())
        typing = logic.numberEntry().NumberEntryText();
    setText(selection_,
            QStringLiteral("Selected: ") + selected +
                (typing.isEmpty() ? QString() : QStringLiteral("    typing: ") + typing));

    if (assisted) {
        const std::string prompt = assisted->entry().prompt();
        setText(penaltyEntry_, prompt.empty() ? QStringLiteral("Ctrl+P gives a penalty")
                                              : QString::fromStdString(prompt));
        showBench(*assisted);
    } else {
        setText(penaltyEntry_, QString());
        setText(strength_, QStringLiteral("Penalty assistant off (options, Penalties)"));
        setText(homeBench_, QString());
        setText(visitorBench_, QString());
    }

    const BoardState now = logic.state();
    boardEvents_ += gameEventsBetween(last_, now);
    while (boardEvents_.size() > kEventsKept)
        boardEvents_.removeFirst();
    last_ = now;
    showEvents(now.resetTenths);
    emit refreshed();
}

void ConsoleWindow::showBench(const penalties::AssistedBoard& assisted) {
    setText(strength_, QStringLiteral("Strength: ") +
                           QString::fromStdString(strengthLine(assisted.assistant().state())));
    setText(homeBench_, joined(benchLines(assisted.assistant(), penalties::Team::Home)));
    setText(visitorBench_, joined(benchLines(assisted.assistant(), penalties::Team::Guest)));
}

// With the penalty assistant on, the list is what it was told, and any line of it can be
// changed or taken out; without it, what the board's changes meant.
void ConsoleWindow::showEvents(std::int64_t resetTenths) {
    const penalties::AssistedBoard* assisted = board_.penaltyAssistant();
    QStringList lines = boardEvents_;
    if (assisted) {
        lines.clear();
        const std::vector<penalties::ToldEvent> told = assisted->assistant().told();
        const std::vector<GameMoment> moments = momentsOf(told, resetTenths);
        for (std::size_t i = 0; i < told.size(); ++i)
            lines << toldEventLine(told[i], moments[i]);
    }
    const QString shown = lines.join(QLatin1Char('\n'));
    const bool correctable = assisted != nullptr;
    if (shown == shownEvents_ && correctable == correctable_)
        return;
    shownEvents_ = shown;
    correctable_ = correctable;
    const int row = events_->currentRow();
    events_->clear();
    events_->addItems(lines);
    if (correctable && row >= 0 && row < events_->count())
        events_->setCurrentRow(row);
    else
        events_->scrollToBottom();
    updateButtons();
}

void ConsoleWindow::updateButtons() {
    const bool picked = correctable_ && events_->currentRow() >= 0;
    change_->setEnabled(picked);
    delete_->setEnabled(picked);
}

// The picked event corrected or taken out: the assistant plays the game again from all its
// events, and the board's watchers hear of it as of a key, so the journal keeps the corrected
// game and Ctrl+Z takes the correction back.
void ConsoleWindow::correctSelected(bool remove) {
    penalties::AssistedBoard* assisted = board_.penaltyAssistant();
    const int row = events_->currentRow();
    if (!assisted || row < 0)
        return;
    const std::vector<penalties::ToldEvent> told = assisted->assistant().told();
    const auto index = static_cast<std::size_t>(row);
    if (index >= told.size())
        return;
    bool done = false;
    if (remove) {
        done = assisted->remove(index);
    } else {
        const long long reset = board_.logic().state().resetTenths;
        const GameMoment moment = momentsOf(told, reset)[index];
        CorrectionDialog dialog(
            told[index], moment.clockTenths,
            [&told, index, reset](long long clock) {
                return gameTimeAt(told, index, clock, reset);
            },
            this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        done = assisted->correct(index, dialog.corrected());
    }
    if (!done) {
        addNotice(QStringLiteral("Correction not taken: the penalty assistant cannot play the "
                                 "game that way (a time after now, or a kind it refuses)."));
        return;
    }
    emit board_.boardChanged();
    refresh();
}

void ConsoleWindow::addNotice(const QString& text) {
    notices_->insertItem(0, text);
    while (notices_->count() > kNoticesKept)
        delete notices_->takeItem(notices_->count() - 1);
}

void ConsoleWindow::setFeedLine(const QString& text) {
    setText(feed_, text);
    feed_->setVisible(!text.isEmpty());
    emit refreshed();
}

QString ConsoleWindow::text() const {
    QStringList out{selection_->text(), penaltyEntry_->text(), strength_->text(),
                    QStringLiteral("Home:\n") + homeBench_->text(),
                    QStringLiteral("Visitor:\n") + visitorBench_->text()};
    for (int i = 0; i < events_->count(); ++i)
        out << events_->item(i)->text();
    if (!feed_->text().isEmpty())
        out << feed_->text();
    for (int i = 0; i < notices_->count(); ++i)
        out << notices_->item(i)->text();
    return out.join(QLatin1Char('\n'));
}

// Every key, Tab and Escape included, goes to the box that takes the board's keys: the
// board's own handlers (the penalty entry, the journal's shortcuts, the fields) see it as if
// it were typed on the board.
bool ConsoleWindow::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        forwardKey(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ConsoleWindow::forwardKey(QKeyEvent* event) {
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                   event->nativeVirtualKey(), event->nativeModifiers(), event->text(),
                   event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(board_.keyTarget(), &copy);
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closedByUser();
}
