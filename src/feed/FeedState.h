#pragma once

#include "game/BoardState.h"
#include "penalties/PenaltyRules.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

struct Settings;

// What the feed tells about the board besides its numbers: the team names, the colours and the
// digit style the user chose. Colours are "#rrggbb".
struct FeedLook {
    QString homeName;
    QString visitorName;
    QString homeColor;
    QString visitorColor;
    QString timeColor;
    QString scoreColor;
    QString periodColor;
    QString ledBack;
    QString background;
    QString border;
    QString digitStyle; // "segments" or "dots"
    // The penalty assistant's rules while it is on: the state then carries "assistant".
    std::optional<penalties::PenaltyRules> penaltyRules;

    bool operator==(const FeedLook& o) const;
    bool operator!=(const FeedLook& o) const { return !(*this == o); }
};

// The version of the feed's message format; raised when a field changes its meaning.
constexpr int kFeedFormatVersion = 1;
// Every message names the program that sent it, and every answer of the feed carries it as
// its "Server" header: a page or app that finds another name is talking to another program
// that holds the port.
inline const QString kFeedProgram = QStringLiteral("Pucktally");

// The look of the board as the settings describe it.
FeedLook feedLookOf(const Settings& settings);

// A stored colour (0x00BBGGRR) as "#rrggbb".
QString feedColor(std::int32_t bgr);

// The whole board as one compact JSON object: the clock as shown and in tenths, period,
// scores, shots, the four penalty slots, the goal lamp, the look, with the message's sequence
// number, the format version and the program's name ("program"). Blank fields are null. While the
// penalty assistant is on, "assistant" tells its state (see assistantJson), each team's with its
// "powerPlay" line and the penalties signalled against it and not yet given ("signalled": player,
// kind).
QByteArray feedJson(const BoardState& state, const FeedLook& look, std::uint64_t sequence);
