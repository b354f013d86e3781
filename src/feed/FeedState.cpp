#include "feed/FeedState.h"

#include "penalties/PenaltyAssistant.h"
#include "penalties/PenaltyJson.h"

#include "settings/Settings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A number field: its value, or null while it is blank.
QJsonValue numberOrNull(int value) {
    return value < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

QJsonObject team(const QString& name, const QString& color, int score, int shots) {
    return QJsonObject{{QStringLiteral("name"), name},
                       {QStringLiteral("color"), color},
                       {QStringLiteral("score"), numberOrNull(score)},
                       {QStringLiteral("shots"), numberOrNull(shots)}};
}

QJsonObject penalty(const PenaltyState& p, int slot) {
    // Slots 1 and 2 belong to the home team, 3 and 4 to the visitors.
    return QJsonObject{
        {QStringLiteral("slot"), slot},
        {QStringLiteral("team"), slot <= 2 ? QStringLiteral("home") : QStringLiteral("visitor")},
        {QStringLiteral("player"), numberOrNull(p.player)},
        {QStringLiteral("time"), p.time},
        {QStringLiteral("tenths"), static_cast<qint64>(p.tenths)},
        {QStringLiteral("running"), p.running},
        {QStringLiteral("lit"), p.lit}};
}

QString goalLamp(int whoGoal) {
    switch (whoGoal) {
    case 1:
        return QStringLiteral("home");
    case 2:
        return QStringLiteral("visitor");
    default:
        return QStringLiteral("none");
    }
}

} // namespace

bool FeedLook::operator==(const FeedLook& o) const {
    return homeName == o.homeName && visitorName == o.visitorName && homeColor == o.homeColor &&
           visitorColor == o.visitorColor && timeColor == o.timeColor &&
           scoreColor == o.scoreColor && periodColor == o.periodColor && ledBack == o.ledBack &&
           background == o.background && border == o.border && digitStyle == o.digitStyle &&
           penaltyRules == o.penaltyRules;
}

QString feedColor(std::int32_t bgr) {
    const auto v = static_cast<std::uint32_t>(bgr);
    const std::uint32_t rgb = ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

FeedLook feedLookOf(const Settings& s) {
    FeedLook look;
    look.homeName = s.HomeText;
    look.visitorName = s.VisitorText;
    look.homeColor = feedColor(s.HomeColor);
    look.visitorColor = feedColor(s.VisitorColor);
    look.timeColor = feedColor(s.TimeColor);
    look.scoreColor = feedColor(s.ScoreColor);
    look.periodColor = feedColor(s.PeriodColor);
    look.ledBack = feedColor(s.LEDBack);
    look.background = feedColor(s.FormBack);
    look.border = feedColor(s.BorderColor);
    // The board draws any style but dots as segments.
    look.digitStyle = s.LEDType == 1 ? QStringLiteral("dots") : QStringLiteral("segments");
    return look;
}

namespace {

// The assistant's game as the board's state carries it, played again under `rules`.
QJsonObject assistantOf(const BoardState& state, const penalties::PenaltyRules& rules) {
    penalties::PenaltyAssistant assistant(rules);
    if (!state.assistant.isEmpty())
        assistant.load(state.assistant.toStdString(), state.assistantTenths);
    QJsonObject json = assistantJson(assistant.state(), rules.book);
    const std::vector<penalties::Assessment> signalled = assistant.signalled();
    for (const auto& [name, team] :
         {std::pair{"home", penalties::Team::Home}, std::pair{"visitor", penalties::Team::Guest}}) {
        QJsonObject side = json.value(QLatin1String(name)).toObject();
        side.insert(QStringLiteral("powerPlay"), strengthText(assistant.state(), team));
        // Penalties the referee signalled while play goes on, not yet given.
        QJsonArray delayed;
        for (const penalties::Assessment& p : signalled)
            if (p.team == team)
                delayed.append(QJsonObject{{QStringLiteral("player"), p.player},
                                           {QStringLiteral("kind"), penaltyKindText(p.kind)}});
        side.insert(QStringLiteral("signalled"), delayed);
        json.insert(QLatin1String(name), side);
    }
    return json;
}

} // namespace

QByteArray feedJson(const BoardState& state, const FeedLook& look, std::uint64_t sequence) {
    QJsonArray penalties;
    for (int i = 0; i < static_cast<int>(state.penalties.size()); ++i)
        penalties.append(penalty(state.penalties[static_cast<size_t>(i)], i + 1));

    const QJsonObject colors{
        {QStringLiteral("time"), look.timeColor},        {QStringLiteral("score"), look.scoreColor},
        {QStringLiteral("period"), look.periodColor},    {QStringLiteral("ledBack"), look.ledBack},
        {QStringLiteral("background"), look.background}, {QStringLiteral("border"), look.border}};

    QJsonObject root{
        {QStringLiteral("program"), kFeedProgram},
        {QStringLiteral("format"), kFeedFormatVersion},
        {QStringLiteral("seq"), static_cast<qint64>(sequence)},
        {QStringLiteral("clock"),
         QJsonObject{{QStringLiteral("text"), state.clock},
                     {QStringLiteral("tenths"), static_cast<qint64>(state.clockTenths)},
                     {QStringLiteral("running"), state.clockRunning}}},
        {QStringLiteral("period"), numberOrNull(state.period)},
        {QStringLiteral("home"), team(look.homeName, look.homeColor, state.home, state.shotsHome)},
        {QStringLiteral("visitor"),
         team(look.visitorName, look.visitorColor, state.visitor, state.shotsVisitor)},
        {QStringLiteral("penalties"), penalties},
        {QStringLiteral("goalLamp"), goalLamp(state.whoGoal)},
        {QStringLiteral("resetTenths"), static_cast<qint64>(state.resetTenths)},
        {QStringLiteral("digitStyle"), look.digitStyle},
        {QStringLiteral("colors"), colors}};
    if (look.penaltyRules)
        root.insert(QStringLiteral("assistant"), assistantOf(state, *look.penaltyRules));
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}
