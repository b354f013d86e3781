#include "game/TimeEntry.h"

namespace {

constexpr int kMaxLength = 8;
constexpr int kMaxMinutes = 99;
constexpr int kMaxSeconds = 99;

// The value of a run of digits already checked to hold nothing else; at most eight of them,
// so it cannot overflow.
std::int64_t digitsValue(QStringView digits) {
    std::int64_t value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - '0');
    return value;
}

} // namespace

GameTime TimeEntry::ParseTime(const QString& text) {
    if (text.size() > kMaxLength)
        return GameTime::none();
    int point = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.')) {
            if (point >= 0)
                return GameTime::none();
            point = i;
        } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return GameTime::none();
        }
    }
    const QStringView all(text);
    const std::int64_t minutes = digitsValue(point < 0 ? all : all.left(point));
    std::int64_t seconds = 0;
    std::int64_t tenths = 0;
    if (point >= 0) {
        const QStringView after = all.mid(point + 1);
        if (after.size() <= 2) {
            seconds = digitsValue(after); // "1.5" is one minute and five seconds
        } else {
            seconds = digitsValue(after.left(2));
            tenths = digitsValue(after.mid(2, 1)); // further digits are ignored
        }
    }
    if (tenths > 9 || seconds > kMaxSeconds || minutes > kMaxMinutes)
        return GameTime::none();
    return GameTime::seconds(minutes * 60 + seconds) + GameTime::tenths(tenths);
}

GameTime TimeEntry::EnterTimeKey(const DigitGroup& group, int ch, std::int32_t limitSeconds) {
    const QString name = group.name();
    if (name != TimeEntryField_) {
        TimeEntryText_.clear();
        TimeEntryField_ = name;
    }
    if ((ch >= '0' && ch <= '9') || ch == '.')
        TimeEntryText_ += QChar(ch);
    if (ch == ' ')
        TimeEntryText_.clear();
    if (ch == '\r') {
        const GameTime t = ParseTime(TimeEntryText_);
        TimeEntryText_.clear();
        if (!t.isNone() && t <= GameTime::seconds(limitSeconds))
            return t;
    }
    return GameTime::none();
}
