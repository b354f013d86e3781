#pragma once

#include <array>

// The board's digit fields.
enum class FieldId {
    Time,
    Period,
    Home,
    Visitor,
    SOGH,
    SOGV,
    PenaltyPH1,
    PenaltyPH2,
    PenaltyPV1,
    PenaltyPV2,
    PenaltyTH1,
    PenaltyTH2,
    PenaltyTV1,
    PenaltyTV2,
};
inline constexpr int kFieldCount = 14;

// The fifteen entry boxes that take the keyboard focus, in tab order.
enum class EntryBox {
    TimeBack,
    HomeBack,
    VisitorBack,
    picGoalBack,
    ShotsBackH,
    PeriodBack,
    ShotsBackV,
    PenaltyPH1,
    PenaltyTH1,
    PenaltyPV1,
    PenaltyTV1,
    PenaltyPH2,
    PenaltyTH2,
    PenaltyPV2,
    PenaltyTV2,
};
inline constexpr int kEntryBoxCount = 15;

// Penalty slots 1 to 4 (home 1, home 2, visitor 1, visitor 2) use counters 1 to 4.
struct PenaltySlot {
    int slot;
    FieldId player;
    FieldId time;
};
inline constexpr std::array<PenaltySlot, 4> kPenaltySlots{{
    {1, FieldId::PenaltyPH1, FieldId::PenaltyTH1},
    {2, FieldId::PenaltyPH2, FieldId::PenaltyTH2},
    {3, FieldId::PenaltyPV1, FieldId::PenaltyTV1},
    {4, FieldId::PenaltyPV2, FieldId::PenaltyTV2},
}};
