#pragma once

#include "board/BoardControls.h"
#include "display/LedField.h"
#include "display/PictureCache.h"
#include "display/modStretch.h"
#include "game/BoardView.h"
#include "game/ScoreBoardLogic.h"
#include "game/TenthTimer.h"
#include "options/OptionsPage.h"
#include "penalties/AssistedBoard.h"
#include "sound/BoardSounds.h"
#include "sound/SoundPlayer.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class BoardLabel;
class QKeyEvent;
class ImageBox;
class KeyboardLock;
class PictureBox;
class ShapeWidget;
struct Settings;
class SettingsStore;
class TimeSource;

// The board: the one window the audience sees. It holds the controls, turns key events into
// virtual-key codes for the game logic, lights what the logic says in the settings' colours,
// and scales itself with the window. The game itself lives in ScoreBoardLogic.
class frmScoreBoard : public QWidget, public BoardView {
    Q_OBJECT
  public:
    frmScoreBoard(const Settings& settings, const TimeSource& time, QWidget* parent = nullptr);
    // A board whose F2 opens the options dialog on `settings`, saving to `store`.
    frmScoreBoard(Settings& settings, SettingsStore& store, const TimeSource& time,
                  QWidget* parent = nullptr);
    // With the buzzer's and the horn's players given, instead of the platform's.
    frmScoreBoard(const Settings& settings, const TimeSource& time,
                  std::unique_ptr<SoundPlayer> buzzer, std::unique_ptr<SoundPlayer> horn,
                  QWidget* parent = nullptr);
    ~frmScoreBoard() override;

    // BoardView
    DigitGroup& field(FieldId id) override;
    void setClockColon(bool upperDotLit) override;
    void setPenaltyColon(int slot, bool lit) override;
    void setPenaltyLamp(int slot, bool lit) override;
    void setGoalLamps(bool homeLit, bool visitorLit) override;
    void setClockTimerEnabled(bool enabled) override;
    void buzzer() override { Buzzer(); }
    void horn() override { Horn(); }
    void showHelp() override;
    void showOptions() override;
    // Tabs of features beyond the board's own settings, for the options dialog it opens.
    void setOptionsPages(const OptionsPageMakers& pages) { optionsPages_ = pages; }
    void beep() override;
    void updateNumLock() override { UpdateNumLock(); }

    // The board's methods.
    void AllKeyCode(int keyCode) { logic_.AllKeyCode(keyCode); }
    int KeyCodeToAsci(int keyCode) const { return logic_.KeyCodeToAsci(keyCode); }
    void AllKeyUp(int keyCode, int shift) { logic_.AllKeyUp(keyCode, shift); }
    void ClearPenalty(int slot) { logic_.ClearPenalty(slot); }
    void ObjectSelected(const QWidget* selectedObject);
    void UpdateGoal() { logic_.UpdateGoal(); }
    void UpdateLabels();
    double RSize(int value) const;
    void UpdateNumLock();
    void UpdatePenaltyColonColors() { logic_.UpdatePenaltyColonColors(); }
    void UpdateFormColors();
    void Buzzer() { sounds_.Buzzer(); }
    void Horn() { sounds_.Horn(); }
    // Closes both sounds and opens them again on the current settings' paths; the board does
    // it when the options dialog has closed.
    void OpenSounds() { sounds_.OpenSounds(settings_); }
    std::int16_t BuzzerPlaying() const { return sounds_.BuzzerPlaying(); }
    void DisplayTime(FieldId clockObject, GameTime dispSec) {
        logic_.DisplayTime(clockObject, dispSec);
    }
    void Penalty() { logic_.Penalty(); }

    // For the window's owner and for tests.
    ScoreBoardLogic& logic() { return logic_; }
    LedField& ledField(FieldId id) { return *fields_.at(static_cast<size_t>(id)); }
    PictureBox* entryBox(EntryBox box) const { return entryBoxes_.at(static_cast<size_t>(box)); }
    const BoardControls& controls() const { return controls_; }
    TenthTimer& clockTimer() { return tmrClock1_; }
    // Records the current layout as the reference for later resizes.
    void RecordLayout();
    // Turns the penalty assistant on with the given rules (again: the game so far replayed
    // under them) or off with nullopt. While off, the board is exactly the board without it;
    // turned off, the penalty slots stay as they were for the operator to go on by hand.
    void setPenaltyRules(const std::optional<penalties::PenaltyRules>& rules);
    penalties::AssistedBoard* penaltyAssistant() { return assisted_.get(); }
    // A penalty entry left this long without a key ends itself and says so.
    static constexpr int kPenaltyEntryIdleMs = 30000;
    void setPenaltyEntryIdleMs(int ms) { entryIdle_.setInterval(ms); }
    // The rules the assistant plays by; nothing while it is off.
    std::optional<penalties::PenaltyRules> penaltyRules() const {
        return assisted_ ? std::optional(assisted_->assistant().rules()) : std::nullopt;
    }
    // True while boardChanged() reports a tick of the running clock rather than an operator.
    bool changedByClock() const { return changedByClock_; }

    // Keys of the program's windows beyond the board's own (full screen, console): asked for every
    // key that neither the penalty entry nor one of the board's functions takes; true when it took
    // the key.
    void setWindowKeys(std::function<bool(int keyCode)> keys);
    // Tells the timekeeper something (a restored game, a missing screen, ...): shown where the
    // timekeeper looks; cleared after clearAfterMs, or at the next key when 0.
    void tellOperator(const QString& text, int clearAfterMs = 0);
    // While the timekeeper's console is open it shows the selection, the typing and every
    // notice, so the board keeps them from the audience: no selection marker, and a title
    // with the teams' name only. Closed, the board is as it always was.
    void setConsoleOpen(bool open);
    bool consoleOpen() const { return consoleOpen_; }
    // The entry box that takes the board's keys: the one with the focus, or the one that
    // gets it when the board is active again.
    QWidget* keyTarget();

  signals:
    // After every key, click and clock tick the board handled: what it shows may have
    // changed (logic().state() tells what it shows now). A tick of the clock is told only
    // when it changed what the board shows (with minutes on the clock, once a second), and
    // only once the new digits have been drawn and handed to the screen.
    void boardChanged();
    // The options dialog closed; the store may hold new settings.
    void optionsClosed();
    // The window accepted its close and has closed its sounds: the board is unloaded.
    void unloaded();
    // Something for the timekeeper's eyes, from tellOperator().
    void operatorNotice(const QString& text, int clearAfterMs);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    class LayoutAdapter;
    friend class LayoutAdapter;
    friend struct BoardBuilder;

    void Form_Load();
    void Form_Resize();
    void wireEntryBoxes();
    void fitPicture(ImageBox* image, PictureBox* container, const QString& path);
    void colorLamp(ShapeWidget* shape, bool lit);
    bool isRepeatedFunctionKey(const QKeyEvent& event, int key) const;
    bool isBoardsOwnKey(int key) const;
    bool takeWindowKey(const QKeyEvent& event, int key);
    void handleKey(const QKeyEvent& event, const std::function<void(int)>& boardKey);
    QString boardTitle() const;
    void showAssistantLine();
    void dropIdleEntry();

    const Settings& settings_;
    // Set when the board may open the options dialog: the same record, writable.
    Settings* editableSettings_ = nullptr;
    SettingsStore* store_ = nullptr;
    bool optionsOpen_ = false;
    OptionsPageMakers optionsPages_;
    BoardControls controls_;
    std::array<std::unique_ptr<LedField>, kFieldCount> fields_;
    std::array<PictureBox*, kEntryBoxCount> entryBoxes_{};

    // Controls the board reaches by name.
    ShapeWidget* Shape1 = nullptr;
    ShapeWidget* Shape3 = nullptr;
    std::array<ShapeWidget*, 2> Shape2{};
    std::array<std::array<ShapeWidget*, 2>, 4> penaltyDots_{};
    std::array<ShapeWidget*, 2> shpPenaltyH{};
    std::array<ShapeWidget*, 2> shpPenaltyV{};
    ShapeWidget* shpGoalH = nullptr;
    ShapeWidget* shpGoalV = nullptr;
    ShapeWidget* shpObjectSelected = nullptr;
    BoardLabel* lblHome = nullptr;
    BoardLabel* lblVisitor = nullptr;
    BoardLabel* lblGoalH = nullptr;
    BoardLabel* lblGoalV = nullptr;
    PictureBox* picHomeContainer = nullptr;
    PictureBox* picVisitorContainer = nullptr;
    PictureBox* picHomePicContainer = nullptr;
    PictureBox* picVisitorPicContainer = nullptr;
    PictureBox* picBoardPicContainer = nullptr;
    ImageBox* imgHomePic = nullptr;
    ImageBox* imgVisitorPic = nullptr;
    ImageBox* imgBoardPic = nullptr;
    ImageBox* imgGoalCoverH = nullptr;
    ImageBox* imgGoalCoverV = nullptr;

    TenthTimer tmrClock1_;
    std::unique_ptr<KeyboardLock> keyboardLock_;
    ScoreBoardLogic logic_;
    modStretch layout_;
    PictureCache pictures_;
    std::unique_ptr<SoundPlayer> mmcBuzzer;
    std::unique_ptr<SoundPlayer> mmcHorn;
    BoardSounds sounds_;
    bool loaded_ = false;
    bool changedByClock_ = false;
    std::unique_ptr<penalties::AssistedBoard> assisted_;
    QString assistantLine_; // in the title, for the operator; empty while the assistant is off
    QTimer entryIdle_;      // runs while a penalty is being typed, from its last key
    std::function<bool(int keyCode)> windowKeys_;
    bool consoleOpen_ = false;
    int windowKeyHeld_ = 0; // the last key the window keys took, whose repeats they do not see
};
