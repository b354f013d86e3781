#include "board/frmScoreBoard.h"

#include "board/BoardDesign.h"
#include "display/BoardLabel.h"
#include "display/Colors.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/PictureFit.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"
#include "display/ShownName.h"
#include "display/Twips.h"
#include "display/modColor.h"
#include "game/modGrabKeys.h"
#include "help/frmHelp.h"
#include "options/frmOptions.h"
#include "platform/KeyboardLock.h"
#include "platform/NativeKey.h"
#include "platform/SystemKeyboardLock.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <cmath>

// Gives the layout arithmetic the board's controls and outer size.
class frmScoreBoard::LayoutAdapter final : public LayoutTarget {
  public:
    explicit LayoutAdapter(frmScoreBoard& board) : board_(board) {}
    int controlCount() const override { return board_.controls_.count(); }
    ControlType controlType(int control) const override {
        return board_.controls_.at(control).type;
    }
    ControlMetrics metrics(int control) const override {
        return board_.controls_.at(control).metrics;
    }
    void applyMetrics(int control, const ControlMetrics& m) override {
        board_.controls_.apply(board_.controls_.at(control), m);
    }
    double windowWidth() const override { return pixelsToTwips(board_.width()); }
    double windowHeight() const override { return pixelsToTwips(board_.height()); }
    bool isMinimized() const override { return board_.isMinimized(); }

  private:
    frmScoreBoard& board_;
};

namespace {

// Whether two states look the same to the audience: the clocks' tenths behind a shown second
// change on every tick but are not on the board.
bool sameOnScreen(BoardState a, const BoardState& b) {
    a.clockTenths = b.clockTenths;
    a.assistantTenths = b.assistantTenths;
    for (size_t i = 0; i < a.penalties.size(); ++i)
        a.penalties[i].tenths = b.penalties[i].tenths;
    return a == b;
}

} // namespace

frmScoreBoard::frmScoreBoard(const Settings& settings, const TimeSource& time, QWidget* parent)
    : frmScoreBoard(settings, time, createSoundPlayer(), createSoundPlayer(), parent) {}

frmScoreBoard::frmScoreBoard(const Settings& settings, const TimeSource& time,
                             std::unique_ptr<SoundPlayer> buzzer, std::unique_ptr<SoundPlayer> horn,
                             QWidget* parent)
    : QWidget(parent), settings_(settings), tmrClock1_(time), keyboardLock_(systemKeyboardLock()),
      logic_(*this, settings, time), mmcBuzzer(std::move(buzzer)), mmcHorn(std::move(horn)),
      sounds_(*mmcBuzzer, *mmcHorn) {
    setObjectName(QStringLiteral("frmScoreBoard"));
    setWindowTitle(QStringLiteral("Pucktally"));
    setAutoFillBackground(true);
    buildBoardDesign(*this, controls_);
    resize(twipsToPixels(kBoardDesignWidth), twipsToPixels(kBoardDesignHeight));
    wireEntryBoxes();
    connect(&tmrClock1_, &TenthTimer::tick, this, [this] {
        const BoardState before = logic_.state();
        logic_.tmrClock1_Timer();
        if (assisted_) {
            assisted_->settle();
            showAssistantLine();
        }
        // The new digits go to the screen before anyone watching the board (journal, live
        // feed) hears of the tick, so their work never delays the frame.
        QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
        // Above the last minute the faces change once a second: no tick between. The penalty
        // assistant names its own next change; the logic's answer is capped at it.
        const int assistantSkip =
            assisted_ ? assisted_->tenthsToNextChange(TenthTimer::kMaxSkip) : TenthTimer::kMaxSkip;
        tmrClock1_.skipTo(logic_.nextShownChangeTenth(assistantSkip));
        if (sameOnScreen(before, logic_.state()))
            return;
        changedByClock_ = true;
        emit boardChanged();
        changedByClock_ = false;
    });
    entryIdle_.setSingleShot(true);
    entryIdle_.setInterval(kPenaltyEntryIdleMs);
    connect(&entryIdle_, &QTimer::timeout, this, &frmScoreBoard::dropIdleEntry);
    // A key, a click, an undo or a restore may have set a clock: its next change may come
    // before the tick the timer sleeps for. A board put back from outside may also carry
    // another penalty game: the operator's line follows it.
    connect(this, &frmScoreBoard::boardChanged, this, [this] {
        if (!changedByClock_)
            tmrClock1_.tickSoon();
        if (assisted_)
            showAssistantLine();
    });
    Form_Load();
}

frmScoreBoard::frmScoreBoard(Settings& settings, SettingsStore& store, const TimeSource& time,
                             QWidget* parent)
    : frmScoreBoard(static_cast<const Settings&>(settings), time, parent) {
    editableSettings_ = &settings;
    store_ = &store;
}

frmScoreBoard::~frmScoreBoard() {
    sounds_.CloseAll();
}

void frmScoreBoard::wireEntryBoxes() {
    for (int i = 0; i < kEntryBoxCount; ++i) {
        PictureBox* box = entryBoxes_.at(static_cast<size_t>(i));
        const auto id = static_cast<EntryBox>(i);
        box->setFocusPolicy(Qt::StrongFocus);
        connect(box, &PictureBox::keyDown, this, [this, id](QKeyEvent* e) {
            handleKey(*e, [this, id](int key) { logic_.KeyDown(id, key); });
        });
        connect(box, &PictureBox::keyUp, this, [this](QKeyEvent* e) {
            logic_.AllKeyUp(virtualKeyOf(*e), static_cast<int>(e->modifiers()));
        });
        connect(box, &PictureBox::gotFocus, this, [this, box] { ObjectSelected(box); });
        if (i > 0)
            setTabOrder(entryBoxes_.at(static_cast<size_t>(i - 1)), box);
    }

    PictureBox* goal = entryBox(EntryBox::picGoalBack);
    auto lampClick = [this, goal](int team) {
        logic_.GoalLampClicked(team);
        goal->setFocus(Qt::MouseFocusReason);
        emit boardChanged();
    };
    connect(imgGoalCoverH, &ImageBox::clicked, this, [lampClick] { lampClick(1); });
    connect(imgGoalCoverV, &ImageBox::clicked, this, [lampClick] { lampClick(2); });
    for (BoardLabel* caption : {lblGoalH, lblGoalV})
        connect(caption, &BoardLabel::clicked, goal,
                [goal] { goal->setFocus(Qt::MouseFocusReason); });
}

void frmScoreBoard::Form_Load() {
    UpdateLabels();
    UpdateFormColors();
    UpdateNumLock();
    RecordLayout();
    sounds_.OpenAtLoad(settings_);
    // Penalty lamps, reset value, and the game clock at 10:00.
    logic_.Form_Load();
    entryBox(EntryBox::TimeBack)->setFocus(Qt::OtherFocusReason);
    loaded_ = true;
}

void frmScoreBoard::RecordLayout() {
    layout_.RecordLayout(LayoutAdapter(*this));
}

// --- What the logic lights -------------------------------------------------------------

DigitGroup& frmScoreBoard::field(FieldId id) {
    return ledField(id);
}

void frmScoreBoard::setClockColon(bool upperDotLit) {
    Shape2[1]->setFillColor(settings_.BorderColor);
    Shape2[0]->setFillColor(upperDotLit ? settings_.BorderColor : settings_.LEDBack);
}

void frmScoreBoard::setPenaltyColon(int slot, bool lit) {
    if (slot < 1 || slot > 4)
        return;
    for (ShapeWidget* dot : penaltyDots_.at(static_cast<size_t>(slot - 1)))
        dot->setFillColor(lit ? settings_.BorderColor : settings_.LEDBack);
}

void frmScoreBoard::colorLamp(ShapeWidget* shape, bool lit) {
    shape->setFillColor(lit ? settings_.ScoreColor : settings_.FormBack);
}

void frmScoreBoard::setPenaltyLamp(int slot, bool lit) {
    static constexpr int kSide[] = {0, 0, 1, 1};
    static constexpr int kIndex[] = {0, 1, 0, 1};
    if (slot < 1 || slot > 4)
        return;
    const auto& lamps = kSide[slot - 1] == 0 ? shpPenaltyH : shpPenaltyV;
    colorLamp(lamps.at(static_cast<size_t>(kIndex[slot - 1])), lit);
}

void frmScoreBoard::setGoalLamps(bool homeLit, bool visitorLit) {
    colorLamp(shpGoalH, homeLit);
    colorLamp(shpGoalV, visitorLit);
}

void frmScoreBoard::setClockTimerEnabled(bool enabled) {
    tmrClock1_.setEnabled(enabled);
}

void frmScoreBoard::beep() {
    QApplication::beep();
}

void frmScoreBoard::showHelp() {
    frmHelp::ShowHelp();
}

// The options dialog, modal over the board. The board's timer keeps ticking while it is
// open, so a running clock goes on counting and drawing; the dialog has the keyboard, so
// the board's keys rest. Whether the user confirmed or cancelled, the board then shows the
// settings record afresh.
void frmScoreBoard::showOptions() {
    if (!editableSettings_ || !store_ || optionsOpen_)
        return;
    optionsOpen_ = true;
    {
        // Over the console when the timekeeper works there: the board is the crowd's.
        QWidget* over =
            consoleOpen_ && QApplication::activeWindow() ? QApplication::activeWindow() : this;
        frmOptions options(*editableSettings_, *store_, over, optionsPages_);
        options.exec();
    }
    optionsOpen_ = false;
    UpdateLabels();
    UpdateFormColors();
    UpdateNumLock();
    Penalty();
    RecordLayout();
    OpenSounds();
    emit optionsClosed();
}

// --- NumLock ---------------------------------------------------------------------------

void frmScoreBoard::UpdateNumLock() {
    ApplyNumLockMode(*keyboardLock_, settings_.NumLockForce);
}

// --- Selection marker ------------------------------------------------------------------

void frmScoreBoard::ObjectSelected(const QWidget* selectedObject) {
    const double w = settings_.LEDSelectedWidth * kTwipsPerPixel;
    shpObjectSelected->hide();
    const BoardControl* target = selectedObject ? controls_.find(selectedObject) : nullptr;
    BoardControl* marker = controls_.find(shpObjectSelected);
    if (!target || !marker || target->widget->parentWidget() != this)
        return;
    ControlMetrics m = marker->metrics;
    m.Left = target->metrics.Left - w;
    m.Top = target->metrics.Top - w;
    m.Width = target->metrics.Width + 2 * w + kTwipsPerPixel;
    m.Height = target->metrics.Height + 2 * w + kTwipsPerPixel;
    controls_.apply(*marker, m);
    // The console shows the selection instead, out of the audience's sight.
    if (!consoleOpen_)
        shpObjectSelected->show();
}

void frmScoreBoard::setConsoleOpen(bool open) {
    if (open == consoleOpen_)
        return;
    consoleOpen_ = open;
    ObjectSelected(open ? nullptr : keyTarget());
    setWindowTitle(boardTitle());
}

QWidget* frmScoreBoard::keyTarget() {
    QWidget* focused = focusWidget();
    return focused && isAncestorOf(focused) ? focused : entryBox(EntryBox::TimeBack);
}

// --- Names, pictures and digit style ---------------------------------------------------

double frmScoreBoard::RSize(int value) const {
    // The board's size is its client area, so the names scale against the design's client
    // area: at the size the board opens at they show at exactly the set size.
    return ::RSize(value, pixelsToTwips(width()), pixelsToTwips(height()), kBoardDesignWidth,
                   kBoardDesignHeight);
}

void frmScoreBoard::UpdateLabels() {
    // A name longer than any board can show is laid out only as far as it can be seen.
    const QString home = shownName(settings_.HomeText);
    const QString visitor = shownName(settings_.VisitorText);
    setWindowTitle(boardTitle());
    // The stored size is fixed point; the names take it as a whole number of points.
    const int teamSize = static_cast<int>(std::nearbyint(settings_.TeamSize / 10000.0));
    const double points = RSize(teamSize);

    const std::pair<BoardLabel*, const QString*> names[] = {{lblHome, &home},
                                                            {lblVisitor, &visitor}};
    for (const auto& [label, text] : names) {
        label->setText(*text);
        BoardControl* c = controls_.find(label);
        ControlMetrics m = c->metrics;
        m.FontSize = points;
        controls_.apply(*c, m);
    }
    for (const auto& [label, text] : names) {
        BoardControl* c = controls_.find(label);
        const BoardControl* container = controls_.find(label->parentWidget());
        ControlMetrics m = c->metrics;
        m.Top = container->metrics.Height / 2 - m.Height / 2;
        m.Left = container->metrics.Width / 2 - m.Width / 2;
        controls_.apply(*c, m);
    }

    fitPicture(imgHomePic, picHomePicContainer, settings_.HomePic);
    fitPicture(imgVisitorPic, picVisitorPicContainer, settings_.VisitorPic);
    fitPicture(imgBoardPic, picBoardPicContainer, settings_.BoardPic);

    for (const BoardControl& c : controls_.all())
        if (c.type == ControlType::PolyLED)
            static_cast<PolyLED*>(c.widget)->setLedType(settings_.LEDType);
}

void frmScoreBoard::fitPicture(ImageBox* image, PictureBox* container, const QString& path) {
    image->hide();
    image->setStretch(false);
    // A path whose file has gone, or whose file cannot be read as a picture, leaves the
    // image as it was.
    const bool clear = path.isEmpty();
    const QImage picture = clear ? QImage() : pictures_.load(path);
    if (clear || !picture.isNull()) {
        image->setImage(picture);
        BoardControl* c = controls_.find(image);
        const BoardControl* box = controls_.find(container);
        ControlMetrics m = c->metrics;
        const double w = clear ? m.Width : pixelsToTwips(picture.width());
        const double h = clear ? m.Height : pixelsToTwips(picture.height());
        const FittedRect fit = FitPicture(w, h, box->metrics.Width, box->metrics.Height);
        m.Left = fit.left;
        m.Top = fit.top;
        m.Width = fit.width;
        m.Height = fit.height;
        controls_.apply(*c, m);
    }
    image->setStretch(true);
    image->show();
}

// --- Colours ---------------------------------------------------------------------------

void frmScoreBoard::UpdateFormColors() {
    const Settings& s = settings_;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colorFromBgr(s.FormBack));
    setPalette(pal);

    for (PolyLED* cell : ledField(FieldId::Time).cells()) {
        cell->setLitColor(s.TimeColor);
        cell->setBackColor(s.LEDBack);
    }
    for (FieldId id : {FieldId::Home, FieldId::Visitor})
        ColorLedField(ledField(id), s.ScoreColor, s.LEDBack);
    ColorLedField(ledField(FieldId::Period), s.PeriodColor, s.LEDBack);
    for (FieldId id : {FieldId::SOGH, FieldId::SOGV, FieldId::PenaltyPH1, FieldId::PenaltyPH2,
                       FieldId::PenaltyPV1, FieldId::PenaltyPV2})
        ColorLedField(ledField(id), s.ScoreColor, s.LEDBack);
    for (FieldId id :
         {FieldId::PenaltyTH1, FieldId::PenaltyTH2, FieldId::PenaltyTV1, FieldId::PenaltyTV2})
        ColorLedField(ledField(id), s.TimeColor, s.LEDBack);

    ColorAllControls(
        *this,
        {QStringLiteral("lblHome"), QStringLiteral("lblVisitor"), QStringLiteral("Shape1"),
         QStringLiteral("Shape3"), QStringLiteral("picHomeContainer"),
         QStringLiteral("picVisitorContainer"), QStringLiteral("picHomePicContainer"),
         QStringLiteral("picVisitorPicContainer"), QStringLiteral("picBoardPicContainer")},
        s);

    lblHome->setForeColor(s.HomeColor);
    lblVisitor->setForeColor(s.VisitorColor);
    Shape1->setBorderColor(s.BorderColor);
    Shape3->setBorderColor(s.BorderColor);
    for (PictureBox* box : {picHomeContainer, picVisitorContainer, picHomePicContainer,
                            picVisitorPicContainer, picBoardPicContainer})
        box->setBackColor(s.FormBack);
    shpObjectSelected->setFillColor(s.LEDSelected);
    entryBox(EntryBox::picGoalBack)->setBackColor(s.FormBack);

    UpdateGoal();
    UpdatePenaltyColonColors();
    Penalty();
}

// --- Events ----------------------------------------------------------------------------

void frmScoreBoard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (loaded_)
        Form_Resize();
}

void frmScoreBoard::Form_Resize() {
    if (isMinimized())
        return;
    // One clean frame for the audience: nothing is painted half laid out.
    setUpdatesEnabled(false);
    LayoutAdapter target(*this);
    layout_.StretchControls(target);
    ObjectSelected(nullptr);
    UpdateLabels();
    setUpdatesEnabled(true);
}

void frmScoreBoard::keyPressEvent(QKeyEvent* event) {
    // Reached only when no entry box holds the focus.
    handleKey(*event, [this](int key) { logic_.AllKeyCode(key); });
}

// Every key of the board: with the penalty assistant on, its entry sees the key first and the
// assistant learns what the key did.
void frmScoreBoard::handleKey(const QKeyEvent& event, const std::function<void(int)>& boardKey) {
    const int key = virtualKeyOf(event);
    bool taken = false;
    if (assisted_) {
        assisted_->catchUp(logic_.IsFunctionKey(key));
        taken = assisted_->takeKey(key, event.modifiers().testFlag(Qt::ControlModifier));
    }
    if (!taken && !isRepeatedFunctionKey(event, key) && !takeWindowKey(event, key))
        boardKey(key);
    if (assisted_) {
        assisted_->settle();
        showAssistantLine();
        if (assisted_->entry().isOpen())
            entryIdle_.start();
        else
            entryIdle_.stop();
    }
    emit boardChanged();
}

// A penalty entry forgotten must not keep the kind letters, B and G among them, from the board.
void frmScoreBoard::dropIdleEntry() {
    if (!assisted_ || !assisted_->dropEntry())
        return;
    showAssistantLine();
    tellOperator(QStringLiteral("Penalty entry dropped: no key for %1 seconds")
                     .arg(entryIdle_.interval() / 1000));
    emit boardChanged();
}

void frmScoreBoard::setPenaltyRules(const std::optional<penalties::PenaltyRules>& rules) {
    if (!rules)
        assisted_.reset();
    else if (assisted_)
        assisted_->setRules(*rules);
    else {
        assisted_ = std::make_unique<penalties::AssistedBoard>(logic_, *this, *rules);
        assisted_->setNotices(
            [this](const std::string& text) { tellOperator(QString::fromStdString(text)); });
    }
    if (!assisted_)
        entryIdle_.stop();
    if (assisted_)
        assisted_->settle();
    showAssistantLine();
    emit boardChanged();
}

// The assistant's line goes in the window title, which the operator sees and the board's
// designed fields do not: the audience's view is not touched.
void frmScoreBoard::showAssistantLine() {
    const QString line = assisted_ ? QString::fromStdString(assisted_->operatorLine()) : QString();
    if (line == assistantLine_)
        return;
    assistantLine_ = line;
    setWindowTitle(boardTitle());
}

QString frmScoreBoard::boardTitle() const {
    const QString title = QStringLiteral("Pucktally - ") + shownName(settings_.HomeText);
    return assistantLine_.isEmpty() || consoleOpen_
               ? title
               : title + QStringLiteral(" \u2014 ") + assistantLine_;
}

void frmScoreBoard::closeEvent(QCloseEvent* event) {
    sounds_.CloseAtUnload();
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit unloaded();
}

void frmScoreBoard::setWindowKeys(std::function<bool(int keyCode)> keys) {
    windowKeys_ = std::move(keys);
}

void frmScoreBoard::tellOperator(const QString& text, int clearAfterMs) {
    emit operatorNotice(text, clearAfterMs);
}

// A key the options gave to one of the board's functions keeps it, whatever else the key
// might do in the program.
bool frmScoreBoard::isBoardsOwnKey(int key) const {
    return logic_.IsFunctionKey(key) || key == settings_.ClearKey;
}

// The program's windows see a key once, as it goes down: a key held a moment too long must not
// switch a window back and forth with the keyboard's repeat. Its repeats are swallowed.
bool frmScoreBoard::takeWindowKey(const QKeyEvent& event, int key) {
    if (!windowKeys_ || isBoardsOwnKey(key))
        return false;
    if (event.isAutoRepeat())
        return key == windowKeyHeld_;
    windowKeyHeld_ = windowKeys_(key) ? key : 0;
    return windowKeyHeld_ != 0;
}

bool frmScoreBoard::isRepeatedFunctionKey(const QKeyEvent& event, int key) const {
    // A start/stop key held a moment too long must not flip the clock back and forth with
    // the keyboard's repeat; typing keys still repeat.
    return event.isAutoRepeat() && logic_.IsFunctionKey(key);
}
