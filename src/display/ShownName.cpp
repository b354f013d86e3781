#include "display/ShownName.h"

QString shownName(const QString& name) {
    if (name.size() <= kMaxShownNameLength)
        return name;
    qsizetype start = (name.size() - kMaxShownNameLength) / 2;
    qsizetype length = kMaxShownNameLength;
    if (name.at(start).isLowSurrogate()) {
        ++start;
        --length;
    }
    if (name.at(start + length - 1).isHighSurrogate())
        --length;
    return name.mid(start, length);
}
