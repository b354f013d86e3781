#include "screens/ScreenChoice.h"

int mainScreen(const ScreenList& screens) {
    for (size_t i = 0; i < screens.size(); ++i)
        if (screens[i].primary)
            return static_cast<int>(i);
    return screens.empty() ? -1 : 0;
}

int defaultScreen(const ScreenList& screens) {
    const int main = mainScreen(screens);
    for (size_t i = 0; i < screens.size(); ++i)
        if (static_cast<int>(i) != main)
            return static_cast<int>(i);
    return main;
}

int screenNamed(const ScreenList& screens, const QString& name) {
    if (name.isEmpty())
        return -1;
    for (size_t i = 0; i < screens.size(); ++i)
        if (screens[i].name == name)
            return static_cast<int>(i);
    return -1;
}

ScreenPick pickScreen(const ScreenList& screens, const QString& chosen) {
    const int named = screenNamed(screens, chosen);
    if (named >= 0)
        return {named, false};
    return {defaultScreen(screens), !chosen.isEmpty()};
}

BoardPlacement placeBoard(const ScreenSettings& settings, const ScreenList& screens) {
    if (!settings.fullScreen || screens.empty())
        return {false, mainScreen(screens), false};
    const ScreenPick pick = pickScreen(screens, settings.screen);
    if (pick.chosenMissing)
        return {false, mainScreen(screens), true};
    return {true, pick.screen, false};
}

int screenAfterRemoval(const ScreenList& remaining, const QString& removed, const QString& boardOn,
                       const QString& chosen) {
    if (boardOn.isEmpty() || boardOn != removed)
        return -1;
    return pickScreen(remaining, chosen).screen;
}

QRect centredOn(QSize size, const ScreenInfo& screen) {
    const QSize fitted = size.boundedTo(screen.geometry.size());
    QRect placed(QPoint(), fitted);
    placed.moveCenter(screen.geometry.center());
    return placed;
}

int screenAt(const ScreenList& screens, QPoint point) {
    for (size_t i = 0; i < screens.size(); ++i)
        if (screens[i].geometry.contains(point))
            return static_cast<int>(i);
    return -1;
}

QRect windowedPlacement(const QRect& was, QSize fallbackSize, const ScreenList& screens) {
    const int main = mainScreen(screens);
    if (main < 0)
        return was.isValid() ? was : QRect(QPoint(), fallbackSize);
    if (!was.isValid())
        return centredOn(fallbackSize, screens[static_cast<size_t>(main)]);
    if (screenAt(screens, was.center()) >= 0)
        return was;
    return centredOn(was.size(), screens[static_cast<size_t>(main)]);
}
