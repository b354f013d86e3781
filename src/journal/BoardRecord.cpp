#include "journal/BoardRecord.h"

namespace boardrecord {

namespace {

QString slotKey(int slot, const char* name) {
    return QStringLiteral("p%1.%2").arg(slot).arg(QLatin1String(name));
}

} // namespace

const QStringList& names() {
    static const QStringList kNames = [] {
        QStringList n{QStringLiteral("clock"),        QStringLiteral("clockTenths"),
                      QStringLiteral("clockRunning"), QStringLiteral("period"),
                      QStringLiteral("home"),         QStringLiteral("visitor"),
                      QStringLiteral("shotsHome"),    QStringLiteral("shotsVisitor")};
        for (int slot = 1; slot <= 4; ++slot)
            for (const char* name : {"player", "time", "tenths", "running", "lit"})
                n << slotKey(slot, name);
        n << QStringLiteral("whoGoal") << QStringLiteral("resetTenths");
        return n;
    }();
    return kNames;
}

QJsonObject toRecord(const BoardState& s) {
    QJsonObject r;
    r.insert(QStringLiteral("clock"), s.clock);
    r.insert(QStringLiteral("clockTenths"), static_cast<qint64>(s.clockTenths));
    r.insert(QStringLiteral("clockRunning"), s.clockRunning);
    r.insert(QStringLiteral("period"), s.period);
    r.insert(QStringLiteral("home"), s.home);
    r.insert(QStringLiteral("visitor"), s.visitor);
    r.insert(QStringLiteral("shotsHome"), s.shotsHome);
    r.insert(QStringLiteral("shotsVisitor"), s.shotsVisitor);
    for (int slot = 1; slot <= 4; ++slot) {
        const PenaltyState& p = s.penalties[static_cast<size_t>(slot - 1)];
        r.insert(slotKey(slot, "player"), p.player);
        r.insert(slotKey(slot, "time"), p.time);
        r.insert(slotKey(slot, "tenths"), static_cast<qint64>(p.tenths));
        r.insert(slotKey(slot, "running"), p.running);
        r.insert(slotKey(slot, "lit"), p.lit);
    }
    r.insert(QStringLiteral("whoGoal"), s.whoGoal);
    r.insert(QStringLiteral("resetTenths"), static_cast<qint64>(s.resetTenths));
    return r;
}

BoardState fromRecord(const QJsonObject& r, BoardState s) {
    // A value of the wrong type (a hand-edited journal) keeps the base value.
    auto text = [&r](const QString& k, QString& v) {
        if (r.value(k).isString())
            v = r.value(k).toString();
    };
    auto number = [&r](const QString& k, auto& v) {
        if (r.value(k).isDouble())
            v = static_cast<std::decay_t<decltype(v)>>(r.value(k).toInteger());
    };
    auto flag = [&r](const QString& k, bool& v) {
        if (r.value(k).isBool())
            v = r.value(k).toBool();
    };
    text(QStringLiteral("clock"), s.clock);
    number(QStringLiteral("clockTenths"), s.clockTenths);
    flag(QStringLiteral("clockRunning"), s.clockRunning);
    number(QStringLiteral("period"), s.period);
    number(QStringLiteral("home"), s.home);
    number(QStringLiteral("visitor"), s.visitor);
    number(QStringLiteral("shotsHome"), s.shotsHome);
    number(QStringLiteral("shotsVisitor"), s.shotsVisitor);
    for (int slot = 1; slot <= 4; ++slot) {
        PenaltyState& p = s.penalties[static_cast<size_t>(slot - 1)];
        number(slotKey(slot, "player"), p.player);
        text(slotKey(slot, "time"), p.time);
        number(slotKey(slot, "tenths"), p.tenths);
        flag(slotKey(slot, "running"), p.running);
        flag(slotKey(slot, "lit"), p.lit);
    }
    number(QStringLiteral("whoGoal"), s.whoGoal);
    number(QStringLiteral("resetTenths"), s.resetTenths);
    return s;
}

Change changeBetween(const BoardState& before, const BoardState& after) {
    Change c;
    if (before == after)
        return c;
    const QJsonObject b = toRecord(before);
    const QJsonObject a = toRecord(after);
    for (const QString& k : names()) {
        if (b.value(k) != a.value(k)) {
            c.before.insert(k, b.value(k));
            c.after.insert(k, a.value(k));
        }
    }
    return c;
}

QJsonObject applied(QJsonObject base, const QJsonObject& record) {
    for (auto it = record.begin(); it != record.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

} // namespace boardrecord
