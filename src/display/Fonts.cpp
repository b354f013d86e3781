#include "display/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace {

// The first family of `wanted` that is installed, or the first one when none is. The answer
// is kept once found; before the application object exists the font database cannot be
// asked, so the first choice is given without keeping it.
QString firstInstalled(QString& found, const QStringList& wanted) {
    if (!found.isEmpty()) {
        return found;
    }
    if (QGuiApplication::instance() == nullptr) {
        return wanted.front();
    }
    const QStringList installed = QFontDatabase::families();
    found = wanted.front();
    for (const QString& family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            found = family;
            break;
        }
    }
    return found;
}

} // namespace

QString sansFamily() {
    static QString found;
    return firstInstalled(found, {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Arimo")});
}

QString serifFamily() {
    static QString found;
    return firstInstalled(found, {QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
}
