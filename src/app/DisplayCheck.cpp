#include "app/DisplayCheck.h"

#include <QtGlobal>

QString missingDisplay(const QStringList& words,
                       const std::function<QString(const char*)>& variable) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // A platform chosen by the user (offscreen, vnc, eglfs, ...) or an X display named on the
    // command line is the user's business; only the default, a desktop's display, is looked for.
    for (const QString& word : words) {
        const QString name = word.section(QLatin1Char('='), 0, 0);
        if (name == QLatin1String("-platform") || name == QLatin1String("--platform") ||
            name == QLatin1String("-display") || name == QLatin1String("--display"))
            return {};
    }
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!variable(name).isEmpty())
            return {};
    return QStringLiteral("No display found: DISPLAY is not set. Start Pucktally on a desktop, "
                          "set DISPLAY (for example DISPLAY=:0), or name a platform with "
                          "-platform NAME (for example -platform offscreen).");
#else
    Q_UNUSED(words);
    Q_UNUSED(variable);
    return {};
#endif
}
