#include "journal/BoardRecord.h"

#include <functional>
#include <vector>

namespace boardrecord {

namespace {

// One named value of a record: how it is read from a board state, and how a stored value of
// the right type is written back (a value of the wrong type, from a hand-edited journal,
// keeps the base value).
struct Field {
    QString name;
    std::function<QJsonValue(const BoardState&)> read;
    std::function<void(const QJsonValue&, BoardState&)> write;
};

template <typename T> void setNumber(const QJsonValue& v, T& out) {
    if (v.isDouble())
        out = static_cast<T>(v.toInteger());
}
void setText(const QJsonValue& v, QString& out) {
    if (v.isString())
        out = v.toString();
}
void setFlag(const QJsonValue& v, bool& out) {
    if (v.isBool())
        out = v.toBool();
}

// Builds the table's entry for one member, reached by `at` in a board state.
template <typename At> Field numberField(const QString& name, At at) {
    return {name, [at](const BoardState& s) { return QJsonValue(static_cast<qint64>(at(s))); },
            [at](const QJsonValue& v, BoardState& s) { setNumber(v, at(s)); }};
}
template <typename At> Field textField(const QString& name, At at) {
    return {name, [at](const BoardState& s) { return QJsonValue(at(s)); },
            [at](const QJsonValue& v, BoardState& s) { setText(v, at(s)); }};
}
template <typename At> Field flagField(const QString& name, At at) {
    return {name, [at](const BoardState& s) { return QJsonValue(at(s)); },
            [at](const QJsonValue& v, BoardState& s) { setFlag(v, at(s)); }};
}

// Every name once, in the record's order; built once, so a record made on every tick of the
// clock makes no names.
const std::vector<Field>& fields() {
    static const std::vector<Field> kFields = [] {
        std::vector<Field> f;
        f.push_back(textField(
            QStringLiteral("clock"), [](auto& s) -> auto& { return s.clock; }));
        f.push_back(numberField(
            QStringLiteral("clockTenths"), [](auto& s) -> auto& { return s.clockTenths; }));
        f.push_back(flagField(
            QStringLiteral("clockRunning"), [](auto& s) -> auto& { return s.clockRunning; }));
        f.push_back(numberField(
            QStringLiteral("period"), [](auto& s) -> auto& { return s.period; }));
        f.push_back(numberField(
            QStringLiteral("home"), [](auto& s) -> auto& { return s.home; }));
        f.push_back(numberField(
            QStringLiteral("visitor"), [](auto& s) -> auto& { return s.visitor; }));
        f.push_back(numberField(
            QStringLiteral("shotsHome"), [](auto& s) -> auto& { return s.shotsHome; }));
        f.push_back(numberField(
            QStringLiteral("shotsVisitor"), [](auto& s) -> auto& { return s.shotsVisitor; }));
        for (size_t i = 0; i < 4; ++i) {
            const QString slot = QStringLiteral("p%1.").arg(i + 1);
            f.push_back(numberField(
                slot + QStringLiteral("player"), [i](auto& s) -> auto& {
                    return s.penalties[i].player;
                }));
            f.push_back(textField(
                slot + QStringLiteral("time"), [i](auto& s) -> auto& {
                    return s.penalties[i].time;
                }));
            f.push_back(numberField(
                slot + QStringLiteral("tenths"), [i](auto& s) -> auto& {
                    return s.penalties[i].tenths;
                }));
            f.push_back(flagField(
                slot + QStringLiteral("running"), [i](auto& s) -> auto& {
                    return s.penalties[i].running;
                }));
            f.push_back(flagField(
                slot + QStringLiteral("lit"), [i](auto& s) -> auto& {
                    return s.penalties[i].lit;
                }));
        }
        f.push_back(numberField(
            QStringLiteral("whoGoal"), [](auto& s) -> auto& { return s.whoGoal; }));
        f.push_back(numberField(
            QStringLiteral("resetTenths"), [](auto& s) -> auto& { return s.resetTenths; }));
        f.push_back(textField(
            QStringLiteral("assistant"), [](auto& s) -> auto& { return s.assistant; }));
        f.push_back(numberField(
            QStringLiteral("assistantTenths"), [](auto& s) -> auto& { return s.assistantTenths; }));
        return f;
    }();
    return kFields;
}

} // namespace

const QStringList& names() {
    static const QStringList kNames = [] {
        QStringList n;
        for (const Field& f : fields())
            n << f.name;
        return n;
    }();
    return kNames;
}

// The penalty assistant's names while it is off are left out, so a game played without it
// is written as it always was.
bool offAssistant(const QString& name, const BoardState& s) {
    return s.assistant.isEmpty() && name.startsWith(QLatin1String("assistant"));
}

QJsonObject toRecord(const BoardState& s) {
    QJsonObject r;
    for (const Field& f : fields())
        if (!offAssistant(f.name, s))
            r.insert(f.name, f.read(s));
    return r;
}

BoardState fromRecord(const QJsonObject& r, BoardState s) {
    for (const Field& f : fields()) {
        const auto it = r.constFind(f.name);
        if (it != r.constEnd())
            f.write(*it, s);
    }
    return s;
}

Change changeBetween(const BoardState& before, const BoardState& after) {
    Change c;
    if (before == after)
        return c;
    // Value by value: a tick changes two or three of the thirty, so no whole record is built.
    for (const Field& f : fields()) {
        QJsonValue b = f.read(before);
        QJsonValue a = f.read(after);
        if (b != a) {
            c.before.insert(f.name, b);
            c.after.insert(f.name, a);
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
