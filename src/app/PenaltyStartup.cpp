#include "app/PenaltyStartup.h"

#include "board/frmScoreBoard.h"
#include "penalties/PenaltySettings.h"

#include <memory>

namespace {

std::optional<penalties::PenaltyRules> rulesOf(const PenaltySettings& settings) {
    if (!settings.rules)
        return std::nullopt;
    return rulesFromSettings(settings);
}

} // namespace

void followPenaltySettings(
    frmScoreBoard& board, const SettingsStore& store,
    std::function<void(const std::optional<penalties::PenaltyRules>&)> alsoTell) {
    auto applied = std::make_shared<PenaltySettings>(loadPenaltySettings(store));
    auto tell = std::make_shared<decltype(alsoTell)>(std::move(alsoTell));
    const auto apply = [&board, tell](const PenaltySettings& settings) {
        // Off leaves the designed board as it is: nothing to put on it.
        if (settings.rules || board.penaltyAssistant())
            board.setPenaltyRules(rulesOf(settings));
        if (*tell)
            (*tell)(rulesOf(settings));
    };
    apply(*applied);
    QObject::connect(&board, &frmScoreBoard::optionsClosed, &board, [&store, applied, apply] {
        const PenaltySettings now = loadPenaltySettings(store);
        if (now == *applied)
            return;
        *applied = now;
        apply(now);
    });
}
