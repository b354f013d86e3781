#pragma once

#include "game/BoardView.h"
#include "support/MemoryDigitGroup.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

// A board held in memory: the fourteen digit fields with the board's names and start
// values, the last state drawn on every dot and lamp, the clock timer's switch, and counts
// of the board's outward actions. Nothing is drawn until the logic draws it.
class FakeBoardView final : public BoardView {
  public:
    enum class Lamp { Undrawn, Dark, Lit };

    FakeBoardView() {
        // Name, digit count and start value of each field, in FieldId order.
        struct Design {
            const char* name;
            int count;
            int start;
        };
        static constexpr std::array<Design, kFieldCount> kDesign{{
            {"pledTime", 4, 0},
            {"pledPeriod", 1, 0},
            {"pledHome", 3, -1},
            {"pledVisitor", 3, -1},
            {"pledSOGH", 2, -1},
            {"pledSOGV", 2, -1},
            {"pledPenaltyPH1", 2, -1},
            {"pledPenaltyPH2", 2, -1},
            {"pledPenaltyPV1", 2, -1},
            {"pledPenaltyPV2", 2, -1},
            {"pledPenaltyTH1", 3, -1},
            {"pledPenaltyTH2", 3, -1},
            {"pledPenaltyTV1", 3, -1},
            {"pledPenaltyTV2", 3, -1},
        }};
        for (int i = 0; i < kFieldCount; ++i) {
            const Design& d = kDesign[static_cast<std::size_t>(i)];
            fields_[static_cast<std::size_t>(i)] =
                std::make_unique<MemoryDigitGroup>(QString::fromLatin1(d.name), d.count, d.start);
        }
        // Scores and shots show 0 in their units digit.
        for (FieldId id : {FieldId::Home, FieldId::Visitor, FieldId::SOGH, FieldId::SOGV})
            group(id).setDigit(0, 0);
    }

    DigitGroup& field(FieldId id) override { return group(id); }
    MemoryDigitGroup& group(FieldId id) { return *fields_[index(id)]; }
    const MemoryDigitGroup& group(FieldId id) const { return *fields_[index(id)]; }
    std::vector<int> digits(FieldId id) const { return group(id).digits(); }

    void setClockColon(bool upperDotLit) override { clockColon_ = state(upperDotLit); }
    void setPenaltyColon(int slot, bool lit) override { at(penaltyColons_, slot) = state(lit); }
    void setPenaltyLamp(int slot, bool lit) override { at(penaltyLamps_, slot) = state(lit); }
    void setGoalLamps(bool homeLit, bool visitorLit) override {
        homeGoal_ = state(homeLit);
        visitorGoal_ = state(visitorLit);
    }
    void setClockTimerEnabled(bool enabled) override {
        timerEnabled_ = enabled;
        ++timerSwitches_;
    }

    void buzzer() override { ++buzzers_; }
    void horn() override { ++horns_; }
    void showHelp() override { ++helps_; }
    void showOptions() override { ++options_; }
    void beep() override { ++beeps_; }
    void updateNumLock() override {
        ++numLockUpdates_;
        if (onUpdateNumLock)
            onUpdateNumLock();
    }
    // What the board does when the logic asks for the NumLock mode; nothing unless set.
    std::function<void()> onUpdateNumLock;

    // The upper clock dot: Lit for m:ss, Dark for ss.t.
    Lamp clockColon() const { return clockColon_; }
    Lamp penaltyColon(int slot) const { return at(penaltyColons_, slot); }
    Lamp penaltyLamp(int slot) const { return at(penaltyLamps_, slot); }
    Lamp homeGoal() const { return homeGoal_; }
    Lamp visitorGoal() const { return visitorGoal_; }
    bool timerEnabled() const { return timerEnabled_; }
    int timerSwitches() const { return timerSwitches_; }

    int buzzers() const { return buzzers_; }
    int horns() const { return horns_; }
    int helps() const { return helps_; }
    int options() const { return options_; }
    int beeps() const { return beeps_; }
    int numLockUpdates() const { return numLockUpdates_; }

  private:
    static std::size_t index(FieldId id) { return static_cast<std::size_t>(id); }
    static Lamp state(bool lit) { return lit ? Lamp::Lit : Lamp::Dark; }
    // Slots outside 1..4 land in a spare entry, so a wrong slot shows up as no change.
    static Lamp& at(std::array<Lamp, 5>& a, int slot) {
        return a[(slot >= 1 && slot <= 4) ? static_cast<std::size_t>(slot) : 0];
    }
    static Lamp at(const std::array<Lamp, 5>& a, int slot) {
        return a[(slot >= 1 && slot <= 4) ? static_cast<std::size_t>(slot) : 0];
    }

    std::array<std::unique_ptr<MemoryDigitGroup>, kFieldCount> fields_;
    Lamp clockColon_ = Lamp::Undrawn;
    std::array<Lamp, 5> penaltyColons_{};
    std::array<Lamp, 5> penaltyLamps_{};
    Lamp homeGoal_ = Lamp::Undrawn;
    Lamp visitorGoal_ = Lamp::Undrawn;
    bool timerEnabled_ = false;
    int timerSwitches_ = 0;
    int buzzers_ = 0;
    int horns_ = 0;
    int helps_ = 0;
    int options_ = 0;
    int beeps_ = 0;
    int numLockUpdates_ = 0;
};
