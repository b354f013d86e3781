#include "screens/ConnectedScreens.h"

#include <QGuiApplication>
#include <QScreen>

ScreenList connectedScreens(const QScreen* leaving) {
    ScreenList screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != leaving)
            screens.push_back({screen->name(), screen->geometry(), screen == primary});
    return screens;
}

QScreen* connectedScreen(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}
