#include "console/ConsoleWindow.h"

#include "board/frmScoreBoard.h"
#include "console/BoardMirror.h"
#include "console/ConsoleText.h"
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

void ConsoleWindow::refresh() {
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

    const penalties::AssistedBoard* assisted = board_.penaltyAssistant();
    if (assisted) {
        const std::string prompt = assisted->entry().prompt();
        setText(penaltyEntry_, prompt.empty() ? QStringLiteral("Ctrl+P gives a penalty")
                                              : QString::fromStdString(prompt));
        setText(strength_, QStringLiteral("Strength: ") +
                               QString::fromStdString(strengthLine(assisted->assistant().state())));
        setText(homeBench_, joined(benchLines(assisted->assistant(), penalties::Team::Home)));
        setText(visitorBench_, joined(benchLines(assisted->assistant(), penalties::Team::Guest)));
    } else {
        setText(penaltyEntry_, QString());
        setText(strength_, QStringLiteral("Penalty assistant off (options, Penalties)"));
        setText(homeBench_, QString());
        setText(visitorBench_, QString());
    }

    const BoardState now = logic.state();
    if (!board_.changedByClock())
        boardEvents_ += gameEventsBetween(last_, now);
    while (boardEvents_.size() > kEventsKept)
        boardEvents_.removeFirst();
    last_ = now;
    showEvents();
}

void ConsoleWindow::showEvents() {
    const QString shown = boardEvents_.join(QLatin1Char('\n'));
    if (shown == shownEvents_)
        return;
    shownEvents_ = shown;
    events_->clear();
    events_->addItems(boardEvents_);
    events_->scrollToBottom();
    change_->setEnabled(false);
    delete_->setEnabled(false);
}

void ConsoleWindow::correctSelected(bool /*remove*/) {}

void ConsoleWindow::addNotice(const QString& text) {
    notices_->insertItem(0, text);
    while (notices_->count() > kNoticesKept)
        delete notices_->takeItem(notices_->count() - 1);
}

QString ConsoleWindow::text() const {
    QStringList out{selection_->text(), penaltyEntry_->text(), strength_->text(),
                    QStringLiteral("Home:\n") + homeBench_->text(),
                    QStringLiteral("Visitor:\n") + visitorBench_->text()};
    for (int i = 0; i < events_->count(); ++i)
        out << events_->item(i)->text();
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
    refresh();
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closedByUser();
}
